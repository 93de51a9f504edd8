// A late-bound host calling both controls by name, as a script would: members chosen from their
// dispatch tables, odd argument counts and values (huge, NaN and infinite numbers, Empty, Null, texts,
// objects, arrays with extreme bounds), with the user typing and clicking in between. A call works or
// raises an automation error; that is the only exception this target lets by.
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "grid/frame/vantrel.h"
#include "platform/automation/errors.h"
#include "platform/automation/font.h"
#include "platform/automation/picture.h"
#include "platform/controls/image_combo.h"
#include "platform/host/child.h"
#include "spin/zel.h"

namespace {

std::shared_ptr<ax::SafeArray> arrayFrom(fuzzsupport::Bytes& in) {
    const int32_t lowers[] = {0, 1, -1, 5, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max() - 3,
                              std::numeric_limits<int32_t>::min(), -40000};
    std::vector<ax::SafeArray::Bound> bounds(1 + in.below(3));
    for (auto& b : bounds) {
        b.lower = in.flag() ? lowers[in.below(std::size(lowers))] : in.between(-10, 10);
        b.count = in.between(0, 6);
    }
    auto array = std::make_shared<ax::SafeArray>(in.flag() ? ax::VarType::String : ax::VarType::Variant);
    try {
        array->redim(bounds);
    } catch (const ax::AutomationError&) {
        // Bounds an array cannot have: the host passes the undimensioned array instead.
    }
    for (auto& element : array->data())
        if (in.flag()) element = ax::Variant(fuzzsupport::localName(in.text(8)));
    return array;
}

ax::Variant argumentFrom(fuzzsupport::Bytes& in, const std::shared_ptr<ax::Object>& other) {
    const int32_t edges[] = {0, 1, -1, 2, 7, 32767, 32768, -32768, -32769, 65535, std::numeric_limits<int32_t>::max(),
                             std::numeric_limits<int32_t>::min()};
    switch (in.below(14)) {
        case 0: return ax::Variant();
        case 1: return ax::Variant(ax::Null{});
        case 2: return ax::Variant(int16_t(in.between(-32768, 32767)));
        case 3: return ax::Variant(edges[in.below(std::size(edges))]);
        case 4: return ax::Variant(int32_t(in.between(-3, 40)));
        case 5: return ax::Variant(float(in.number()));  // any bit pattern: NaN, infinities, denormals
        case 6: return ax::Variant(in.number());
        case 7: return ax::Variant(in.flag());
        case 8: return ax::Variant(ax::Date{in.number()});
        case 9:
        case 10: return ax::Variant(fuzzsupport::localName(in.text(40)));
        case 11: {
            switch (in.below(4)) {
                case 0: return ax::Variant(std::shared_ptr<ax::Object>());
                case 1: return ax::Variant(std::make_shared<ax::Font>("Arial", float(in.between(0, 100))));
                case 2: return ax::Variant(std::make_shared<ax::Picture>(2, 2, std::vector<uint32_t>(4, 0xFF0000FFu)));
                default: return ax::Variant(other);
            }
        }
        case 12: {
            auto images = std::make_shared<ax::ImageList>();
            images->ListImages()->Add(ax::Variant(), ax::Variant("a"),
                                      ax::Variant(std::make_shared<ax::Picture>(1, 1, std::vector<uint32_t>(1, ~0u))));
            return ax::Variant(images);
        }
        default: return ax::Variant(arrayFrom(in));
    }
}

template <class Control>
void callOne(Control& control, fuzzsupport::Bytes& in, const std::shared_ptr<ax::Object>& other) {
    const auto& members = Control::dispatchTable().members();
    const auto& member = members[in.below(uint32_t(members.size()))];
    std::vector<ax::Variant> args;
    for (uint32_t n = in.below(5); n > 0; --n) args.push_back(argumentFrom(in, other));
    control.Invoke(member.name, member.kind, args);
}

void actAsUser(ax::HeadlessHost& host, ax::Control& control, fuzzsupport::Bytes& in) {
    std::vector<ax::ChildPtr> showing;
    for (const auto& c : host.children(control))
        if (c->Visible()) showing.push_back(c);
    switch (in.below(4)) {
        case 0:
            if (!showing.empty()) host.click(*showing[in.below(uint32_t(showing.size()))], float(in.between(-10, 6000)), float(in.between(-10, 3000)));
            break;
        case 1:
            host.typeText(in.text(6));
            break;
        case 2: {
            const int16_t keys[] = {ax::key::Return, ax::key::Escape, ax::key::Down, ax::key::Up, ax::key::F4,
                                    ax::key::Back,   ax::key::Delete, ax::key::Tab,  ax::key::PageDown, ax::key::End};
            host.typeKey(keys[in.below(std::size(keys))], int16_t(in.below(8)));
            break;
        }
        default:
            if (!showing.empty()) host.setFocus(showing[in.below(uint32_t(showing.size()))].get());
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::Bytes in(data, size);
    auto host = fuzzsupport::makeHost();
    host->setUserMode(in.flag());
    auto grid = std::make_shared<vantrel::Vantrel>();
    auto spin = std::make_shared<zel::Zel>();
    host->place(grid, 6000, 3000);
    host->place(spin, 1200, 300);
    for (int step = 0; step < 200 && !in.empty(); ++step) {
        try {
            switch (in.below(8)) {
                case 0:
                    actAsUser(*host, in.flag() ? static_cast<ax::Control&>(*grid) : *spin, in);
                    break;
                case 1:
                    callOne(*spin, in, grid);
                    break;
                default:
                    callOne(*grid, in, spin);
                    break;
            }
        } catch (const ax::AutomationError&) {
        }
    }
    return 0;
}
