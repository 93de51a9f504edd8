#include "docs/snippets/snippets.h"

namespace guide {

// [typed-events]
// A C++ host overrides the events it wants; parameters are references, so a value written back
// reaches the grid (here: digits only are typed into the cells).
class DigitsOnly : public vantrel::VantrelEvents {
  public:
    void KeyPress(int16_t& KeyAscii) override {
        if (KeyAscii >= 32 && (KeyAscii < '0' || KeyAscii > '9')) KeyAscii = 0;
    }
    void Compare(int32_t& Row1, int32_t& Row2, int16_t& Cmp) override { Cmp = Row1 < Row2 ? 1 : -1; }
};
// [typed-events]

// [named-events]
// A late-bound host hears the same events by name, with the arguments as Variants.
class Logger : public ax::EventSink {
  public:
    void OnEvent(int32_t dispid, std::string_view name, std::vector<ax::Variant>& args) override {
        (void)dispid, (void)args;
        last = std::string(name);
    }
    std::string last;
};
// [named-events]

void listenToEvents(vantrel::Vantrel& grid) {
    // [attach-events]
    static DigitsOnly digits;  // the grid does not own a typed sink: keep it alive while attached
    grid.setEventSink(&digits);
    grid.events().Advise(std::make_shared<Logger>());
    // [attach-events]
}

}  // namespace guide
