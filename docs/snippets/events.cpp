#include "docs/snippets/snippets.h"

namespace guide {

// [events]
// A C++ host overrides the events it wants. Parameters are references: a value written back
// reaches the grid (here only digits get into the cells).
class DigitsOnly : public vantrel::VantrelEvents {
  public:
    void KeyPress(int16_t& KeyAscii) override {
        if (KeyAscii >= 32 && (KeyAscii < '0' || KeyAscii > '9')) KeyAscii = 0;
    }
};

// A late-bound host hears the same events by name, with the arguments as Variants.
class Logger : public ax::EventSink {
  public:
    explicit Logger(std::ostream& out) : out_(out) {}
    void OnEvent(int32_t, std::string_view name, std::vector<ax::Variant>& args) override {
        if (name != "KeyPress") return;
        out_ << name << "(" << args[0].toLong() << ")\n";
    }

  private:
    std::ostream& out_;
};

void events(std::ostream& out) {
    auto host = ax::makeHeadlessHost();
    host->setUserMode(true);
    auto grid = std::make_shared<vantrel::Vantrel>();
    host->place(grid, 4800, 2400);

    DigitsOnly digits;  // the grid does not own its typed sink: it must outlive the connection
    grid->setEventSink(&digits);
    grid->events().Advise(std::make_shared<Logger>(out));  // the sinks hear events in advise order

    // A click opens the cell's editor (a key would too, but is not typed into it); then the user types.
    ax::FlexGrid& cells = grid->innerGrid();
    host->click(cells, cells.ColPos(1) + 100, cells.RowPos(1) + 100);
    host->typeText("4x2");
    host->typeKey(ax::key::Return);
    out << "cell (1, 1): " << grid->TextMatrix(1, 1) << "\n";
    grid->setEventSink(nullptr);
}
// [events]

}  // namespace guide
