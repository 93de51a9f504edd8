// A Qt host on an offscreen window with a probe control whose children log their notifications.
#pragma once
#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/control.h"
#include "platform/qt/qt_children.h"
#include "platform/qt/qt_host.h"

namespace axtest {

// A control that makes the children a test asks for and records what each of them tells it.
class Probe : public ax::Control {
  public:
    std::vector<std::string> log;
    ax::Site* site() const { return site_.get(); }
};

// Every notification of a text-like child, logged as "<name>.<event>[:<value>]".
template <class C>
void logKeys(C& c, std::vector<std::string>& log, const std::string& name) {
    c.onKeyDown = [&log, name](int16_t& k, int16_t& s) {
        log.push_back(name + ".KeyDown:" + std::to_string(k) + "/" + std::to_string(s));
    };
    c.onKeyPress = [&log, name](int16_t& k) { log.push_back(name + ".KeyPress:" + std::to_string(k)); };
    c.onKeyUp = [&log, name](int16_t& k, int16_t& s) {
        log.push_back(name + ".KeyUp:" + std::to_string(k) + "/" + std::to_string(s));
    };
    c.onGotFocus = [&log, name] { log.push_back(name + ".GotFocus"); };
    c.onLostFocus = [&log, name] { log.push_back(name + ".LostFocus"); };
}

}  // namespace axtest
