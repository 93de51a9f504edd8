#include <gtest/gtest.h>

#include "platform/runtime/dispatch.h"
#include "platform/runtime/events.h"
#include "tests/support/error_of.h"

namespace {

using ax::InvokeKind;
using ax::Variant;

using testsupport::errorOf;

class Sheet : public ax::Object {
  public:
    int16_t Rows() const { return rows_; }
    void setRows(int16_t r) { rows_ = r; }
    std::string Cell(int32_t row, int32_t col) const {
        return std::to_string(row) + ":" + std::to_string(col);
    }
    // Optional trailing arguments take the table's defaults.
    std::string Pad(std::string text, int16_t width, std::string fill) const {
        while (int16_t(text.size()) < width) text = fill + text;
        return text;
    }
    void Find(std::string what, int32_t& row, int32_t& col) const {
        row = int32_t(what.size());
        col = row * 2;
    }
    std::shared_ptr<ax::Object> Owner() const { return owner_; }
    void setOwner(std::shared_ptr<ax::Object> o) { owner_ = std::move(o); }
    void Clear() { rows_ = 0; }
    const std::string& Label() const { return label_; }
    void setLabel(const std::string& text) { label_ = text; }

    AX_DECLARE_DISPATCH(Sheet);

  private:
    int16_t rows_ = 2;
    std::string label_;
    std::shared_ptr<ax::Object> owner_;
};

const ax::DispatchTable<Sheet>& Sheet::dispatchTable() {
    static const auto t = [] {
        ax::DispatchTable<Sheet> t;
        t.prop("Rows", &Sheet::Rows, &Sheet::setRows)
            .get("Cell", &Sheet::Cell)
            .method("Pad", &Sheet::Pad, {Variant(int16_t(4)), Variant("0")})
            .method("Find", &Sheet::Find)
            .propRef("Owner", &Sheet::Owner, &Sheet::setOwner)
            .method("Clear", &Sheet::Clear)
            .prop("Label", &Sheet::Label, &Sheet::setLabel);
        return t;
    }();
    return t;
}

TEST(Dispatch, NamesAreCaseInsensitiveAndKindsFallBackLikeLateBinding) {
    Sheet s;
    EXPECT_EQ(ax::getProperty(s, "ROWS").toLong(), 2);
    ax::letProperty(s, "rows", Variant("7"));  // numeric text converts with the automation rules
    EXPECT_EQ(s.Rows(), 7);
    // A method call finds a get and a get finds a method, as obj.Rows and obj.Clear read in a script.
    EXPECT_EQ(ax::callMethod(s, "Rows").toLong(), 7);
    ax::getProperty(s, "clear");
    EXPECT_EQ(s.Rows(), 0);
    EXPECT_EQ(ax::getProperty(s, "cell", {Variant(int32_t(3)), Variant(int16_t(4))}).toString(), "3:4");
    // A parameter taken as const text reads a text argument in place and converts any other value.
    ax::letProperty(s, "Label", Variant(1234567890.125));
    EXPECT_EQ(s.Label(), "1234567890.125");
    ax::letProperty(s, "Label", Variant(3.5e300));
    EXPECT_EQ(s.Label(), "3.5E+300");
    ax::letProperty(s, "Label", Variant("as given"));
    EXPECT_EQ(ax::getProperty(s, "label").toString(), "as given");
    EXPECT_TRUE(s.HasMember("OWNER", InvokeKind::PropertyPutRef));
    EXPECT_FALSE(s.HasMember("Nothing", InvokeKind::Method));
}

TEST(Dispatch, FailuresCarryAutomationNumbers) {
    Sheet s;
    EXPECT_EQ(errorOf([&] { ax::getProperty(s, "Colz"); }), ax::err::MemberNotFound);
    EXPECT_EQ(errorOf([&] { ax::getProperty(s, "Cell", {Variant(int32_t(1))}); }),
              ax::err::WrongArgumentCount);
    EXPECT_EQ(errorOf([&] { ax::callMethod(s, "Clear", {Variant(1)}); }), ax::err::WrongArgumentCount);
    EXPECT_EQ(errorOf([&] { ax::letProperty(s, "Rows", Variant(int32_t(40000))); }), ax::err::Overflow);
    EXPECT_EQ(errorOf([&] { ax::letProperty(s, "Rows", Variant("many")); }), ax::err::TypeMismatch);
    EXPECT_EQ(s.Rows(), 2);  // a failed let changes nothing
    // A let on a get-only member is not a member of that kind.
    EXPECT_EQ(errorOf([&] {
                  ax::letProperty(s, "Cell", Variant("x"), {Variant(1), Variant(1)});
              }),
              ax::err::MemberNotFound);
}

TEST(Dispatch, OmittedTrailingArgumentsTakeDefaults) {
    Sheet s;
    EXPECT_EQ(ax::callMethod(s, "Pad", {Variant("7")}).toString(), "0007");
    EXPECT_EQ(ax::callMethod(s, "Pad", {Variant("7"), Variant(int16_t(2))}).toString(), "07");
    EXPECT_EQ(ax::callMethod(s, "Pad", {Variant("7"), Variant(int16_t(3)), Variant("*")}).toString(), "**7");
    EXPECT_EQ(errorOf([&] { ax::callMethod(s, "Pad", {}); }), ax::err::WrongArgumentCount);
}

TEST(Dispatch, ByReferenceArgumentsAreWrittenBack) {
    Sheet s;
    std::vector<Variant> args{Variant("abc"), Variant(), Variant()};
    s.Invoke("find", InvokeKind::Method, args);
    EXPECT_EQ(args[0].toString(), "abc");
    EXPECT_EQ(args[1].type(), ax::VarType::Long);
    EXPECT_EQ(args[1].toLong(), 3);
    EXPECT_EQ(args[2].toLong(), 6);
}

TEST(Dispatch, ObjectReferencesGoThroughSet) {
    Sheet s;
    auto other = std::make_shared<Sheet>();
    ax::setProperty(s, "Owner", Variant(other));
    EXPECT_EQ(s.Owner(), other);
    EXPECT_EQ(ax::getProperty(s, "Owner").object(), other);
    // Late binding: a let of an object finds the set.
    ax::letProperty(s, "Owner", Variant(std::shared_ptr<ax::Object>()));
    EXPECT_EQ(s.Owner(), nullptr);
}

TEST(Dispatch, MemberCountsByKind) {
    const auto& t = Sheet::dispatchTable();
    EXPECT_EQ(t.count(InvokeKind::PropertyGet), 4u);  // Rows, Cell, Owner, Label
    EXPECT_EQ(t.count(InvokeKind::PropertyPut), 2u);  // Rows, Label
    EXPECT_EQ(t.count(InvokeKind::PropertyPutRef), 1u);
    EXPECT_EQ(t.count(InvokeKind::Method), 3u);
    EXPECT_EQ(t.members().size(), 10u);
}

struct RecordingSink : ax::EventSink {
    std::vector<std::string> names;
    std::function<void(std::string_view, std::vector<Variant>&)> onEvent;
    void OnEvent(int32_t, std::string_view name, std::vector<Variant>& args) override {
        names.emplace_back(name);
        if (onEvent) onEvent(name, args);
    }
};

TEST(Events, SinksHearEventsInAdviseOrderAndWriteBack) {
    ax::EventSource source;
    auto first = std::make_shared<RecordingSink>();
    auto second = std::make_shared<RecordingSink>();
    std::vector<std::string> order;
    std::vector<int16_t> secondSaw;
    first->onEvent = [&](std::string_view, std::vector<Variant>& a) {
        order.push_back("first");
        EXPECT_EQ(a[0].toInteger(), 65);
        a[0] = Variant(int16_t(0));
    };
    second->onEvent = [&](std::string_view, std::vector<Variant>& a) {
        order.push_back("second");
        secondSaw.push_back(a[0].toInteger());
        a[1] = Variant(true);
    };
    source.Advise(first);
    source.Advise(second);

    int16_t keyAscii = 65;
    bool cancel = false;
    source.raise(4, "KeyPress", keyAscii, cancel);
    EXPECT_EQ(keyAscii, 0);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(secondSaw, std::vector<int16_t>{0});  // saw what the first sink wrote

    source.Unadvise(first);
    keyAscii = 66;
    source.raise(4, "KeyPress", keyAscii, cancel);
    EXPECT_EQ(first->names.size(), 1u);
    EXPECT_EQ(second->names.size(), 2u);
    EXPECT_EQ(secondSaw, (std::vector<int16_t>{0, 66}));
    EXPECT_EQ(keyAscii, 66);
}

}  // namespace
