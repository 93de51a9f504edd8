// The demo window: the grid control on the Qt host with one column of each editor kind, sample rows,
// and buttons for transactions, the XML file and the form's saved settings.
#pragma once
#include <QWidget>
#include <memory>
#include <string>

#include "platform/qt/qt_host.h"

class QLabel;
class QLineEdit;

namespace vantrel {
class Vantrel;
}

namespace demo {

class DemoWindow : public QWidget {
  public:
    // dataFolder holds the XML file and the saved settings the buttons write and read.
    explicit DemoWindow(std::string dataFolder);
    ~DemoWindow() override;

    ax::QtHost& host() { return *host_; }
    vantrel::Vantrel& grid() { return *grid_; }
    // Plays the tour as a user would, saving a PNG of the window after each step into folder;
    // returns the number of steps that failed.
    int runTour(const std::string& folder);

    void beginTrans();
    void commit();
    void rollBack();
    void saveXml();
    void loadXml();
    void saveSettings();
    void reloadSettings();

  private:
    void fillSample();
    void loadXmlFile();
    void say(const std::string& text);

    std::string data_;
    std::unique_ptr<ax::QtHost> host_;
    std::shared_ptr<vantrel::Vantrel> grid_;
    QLabel* status_ = nullptr;
    QLineEdit* notes_ = nullptr;  // the next stop after the grid in the window's tab order
    bool xmlLoaded_ = false;
};

}  // namespace demo
