// Calls by member id: names resolved once, calls that allocate nothing for scalar values, and ids for
// objects that only answer by name.
#include <gtest/gtest.h>

#include "platform/runtime/dispatch.h"
#include "platform/runtime/events.h"
#include "tests/platform/runtime/allocation_counter.h"
#include "tests/support/error_of.h"

namespace {

using ax::InvokeKind;
using ax::Variant;
using testsupport::errorOf;

class Counter : public ax::Object {
  public:
    int32_t Count() const { return count_; }
    void setCount(int32_t v) { count_ = v; }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v) { enabled_ = v; }
    int32_t Add(int32_t a, int16_t b) { return count_ += a + b; }
    int32_t Length(const std::string& text) const { return int32_t(text.size()); }
    void Split(int32_t value, int32_t& high, int32_t& low) const {
        high = value / 100;
        low = value % 100;
    }
    std::string Item(int32_t i) const { return "item" + std::to_string(i); }
    // A text result beside a by-reference parameter: both reach the caller.
    std::string Take(int32_t& stock) const {
        stock -= 1;
        return std::string(40, 't');
    }

    AX_DECLARE_DISPATCH(Counter);

  private:
    int32_t count_ = 0;
    bool enabled_ = true;
};

const ax::DispatchTable<Counter>& Counter::dispatchTable() {
    static const auto t = [] {
        ax::DispatchTable<Counter> t;
        t.prop("Count", &Counter::Count, &Counter::setCount)
            .prop("Enabled", &Counter::Enabled, &Counter::setEnabled)
            .method("Add", &Counter::Add, {Variant(int16_t(1))})
            .method("Length", &Counter::Length)
            .method("Split", &Counter::Split)
            .get("Item", &Counter::Item)
            .method("Take", &Counter::Take)
            .defaultMember("Item");
        return t;
    }();
    return t;
}

TEST(DispatchIds, OneIdPerNameWhateverTheCaseAndKind) {
    Counter c;
    const ax::DispId id = c.GetIdOfName("Count");
    EXPECT_GT(id, 0);
    EXPECT_EQ(c.GetIdOfName("COUNT"), id);
    EXPECT_EQ(c.GetIdOfName("count"), id);
    EXPECT_NE(c.GetIdOfName("Enabled"), id);
    EXPECT_EQ(c.GetIdOfName("Cound"), ax::dispid::Unknown);
    EXPECT_EQ(c.GetIdOfName("Count "), ax::dispid::Unknown);
    EXPECT_EQ(c.GetIdOfName(""), ax::dispid::Value);

    std::vector<Variant> args{Variant(int32_t(41))};
    c.InvokeById(id, InvokeKind::PropertyPut, args);
    args.clear();
    EXPECT_EQ(c.InvokeById(id, InvokeKind::PropertyGet, args).toLong(), 41);
    EXPECT_EQ(c.Invoke("cOuNt", InvokeKind::PropertyGet, args).toLong(), 41);  // name: lookup, then id
    args = {Variant(int32_t(3))};
    EXPECT_EQ(c.InvokeById(ax::dispid::Value, InvokeKind::PropertyGet, args).toString(), "item3");
    EXPECT_EQ(c.Invoke("", InvokeKind::PropertyGet, args).toString(), "item3");

    args.clear();
    EXPECT_EQ(errorOf([&] { c.InvokeById(9999, InvokeKind::PropertyGet, args); }), ax::err::MemberNotFound);
    EXPECT_EQ(errorOf([&] { c.InvokeById(-7, InvokeKind::Method, args); }), ax::err::MemberNotFound);
    args = {Variant(int32_t(1)), Variant("x")};
    EXPECT_EQ(errorOf([&] { c.InvokeById(c.GetIdOfName("Item"), InvokeKind::PropertyPut, args); }),
              ax::err::MemberNotFound);  // a kind the member does not answer
}

TEST(DispatchIds, MembersDescribeThemselves) {
    Counter c;
    ax::MemberInfo info;
    ASSERT_TRUE(c.DescribeMember(c.GetIdOfName("count"), info));
    EXPECT_EQ(info.name, "Count");
    EXPECT_TRUE(info.answers(InvokeKind::PropertyGet) && info.answers(InvokeKind::PropertyPut));
    EXPECT_FALSE(info.answers(InvokeKind::Method));
    EXPECT_EQ(info.params, 0);
    ASSERT_TRUE(c.DescribeMember(c.GetIdOfName("Add"), info));
    EXPECT_EQ(info.kinds, uint8_t(InvokeKind::Method));
    EXPECT_EQ(info.params, 2);
    EXPECT_EQ(info.optional, 1);
    ASSERT_TRUE(c.DescribeMember(c.GetIdOfName("Split"), info));
    EXPECT_EQ(info.byRef, 0b110u);
    EXPECT_FALSE(c.DescribeMember(99, info));

    std::vector<std::string> names;
    for (ax::DispId id = 1; c.DescribeMember(id, info); ++id) names.emplace_back(info.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"Count", "Enabled", "Add", "Length", "Split", "Item", "Take"}));

    std::vector<Variant> args{Variant(int32_t(5))};
    EXPECT_EQ(c.InvokeById(c.GetIdOfName("take"), InvokeKind::Method, args).toString(), std::string(40, 't'));
    EXPECT_EQ(args[0].toLong(), 4);
}

TEST(DispatchIds, ScalarCallsAllocateNothing) {
    Counter c;
    const ax::DispId count = c.GetIdOfName("Count"), add = c.GetIdOfName("Add"),
                     enabled = c.GetIdOfName("Enabled"), length = c.GetIdOfName("Length"),
                     split = c.GetIdOfName("Split");
    std::vector<Variant> args;
    args.reserve(3);
    const Variant text(std::string(200, 'x'));  // far beyond any small-string buffer
    const size_t before = testsupport::allocationsCounted();
    testsupport::countAllocations(true);
    int64_t sum = 0;
    for (int32_t i = 0; i < 100; ++i) {
        args.assign({Variant(i)});
        c.InvokeById(count, InvokeKind::PropertyPut, args);
        args.assign({Variant(i), Variant(int16_t(2))});
        sum += c.InvokeById(add, InvokeKind::Method, args).toLong();
        args.assign({Variant(i % 2 == 0)});
        c.InvokeById(enabled, InvokeKind::PropertyPut, args);
        args.clear();
        sum +=
            c.Invoke("ENABLED", InvokeKind::PropertyGet, args).toBoolean();  // by name: no copy of the name
        testsupport::countAllocations(false);  // the caller's copy of its text; the member reads it in place
        args.assign({text});
        testsupport::countAllocations(true);
        sum += c.InvokeById(length, InvokeKind::Method, args).toLong();
        args.assign({Variant(int32_t(1234)), Variant(), Variant()});
        c.InvokeById(split, InvokeKind::Method, args);
        sum += args[1].toLong() + args[2].toLong();
    }
    testsupport::countAllocations(false);
    EXPECT_EQ(testsupport::allocationsCounted(), before);
    EXPECT_GT(sum, 0);
}

TEST(DispatchIds, LargeTablesFindEveryNameAndOnlyAsciiLettersFold) {
    ax::DispatchTable<Counter> t;
    std::vector<std::string> names;
    for (int i = 0; i < 500; ++i)
        names.push_back("Member" + std::to_string(i) + std::string(size_t(i % 13), 'q'));
    names.insert(names.end(), {"@", "`", "[x]", "{x}", "Stra\u00DFe", "\u00C4", "\u00E4"});
    for (const auto& n : names)
        t.raw(n, InvokeKind::Method, [](Counter&, std::vector<Variant>&) { return Variant(); });
    for (size_t i = 0; i < names.size(); ++i) {
        std::string upper = names[i];
        for (auto& ch : upper)
            if (ch >= 'a' && ch <= 'z') ch = char(ch - 32);
        EXPECT_EQ(t.idOf(upper), ax::DispId(i + 1)) << names[i];
    }
    EXPECT_EQ(t.idOf("sTRA\u00DFE"), t.idOf("Stra\u00DFe"));
    EXPECT_NE(t.idOf("@"), t.idOf("`"));  // one bit apart, as 'A' and 'a' are
    EXPECT_NE(t.idOf("[x]"), t.idOf("{x}"));
    EXPECT_NE(t.idOf("\u00C4"), t.idOf("\u00E4"));                  // letters beyond ASCII keep their case
    EXPECT_EQ(t.idOf("Member12qqqqqqqqqqq"), ax::dispid::Unknown);  // one character more
    EXPECT_EQ(t.idOf("Member12qqqqqqqqq"), ax::dispid::Unknown);    // one less

    // A late-bound host refilling its argument list: texts no longer than before keep their buffer.
    std::vector<Variant> args{Variant(int32_t(0)), Variant(std::string(100, 'a'))};
    const std::string shorter(80, 'b');
    const size_t before = testsupport::allocationsCounted();
    testsupport::countAllocations(true);
    for (int32_t i = 0; i < 10; ++i) {
        args[0] = i;
        args[1] = shorter;
    }
    testsupport::countAllocations(false);
    EXPECT_EQ(testsupport::allocationsCounted(), before);
    EXPECT_EQ(args[0].type(), ax::VarType::Long);
    EXPECT_EQ(*args[1].get<std::string>(), shorter);
    args[0] = true;  // a different kind replaces the value
    EXPECT_EQ(args[0].type(), ax::VarType::Boolean);
}

// An object that answers by name only, as objects written before ids did.
class ByName : public ax::Object {
  public:
    ax::Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override {
        if (!HasMember(name, kind)) ax::raise(ax::err::MemberNotFound);
        if (kind == InvokeKind::PropertyPut) value_ = args.at(0).toLong();
        return Variant(value_);
    }
    bool HasMember(std::string_view name, InvokeKind kind) const override {
        return ax::detail::NameEqual{}(name, "Level") && kind != InvokeKind::PropertyPutRef;
    }

  private:
    int32_t value_ = 0;
};

TEST(DispatchIds, ObjectsAnsweringByNameGetSharedIds) {
    ByName a, b;
    const ax::DispId id = a.GetIdOfName("level");
    EXPECT_GE(id, ax::kFirstSharedNameId);
    EXPECT_EQ(b.GetIdOfName("LEVEL"), id);
    EXPECT_EQ(a.GetIdOfName("Volume"), ax::dispid::Unknown);
    std::vector<Variant> args{Variant(int32_t(5))};
    a.InvokeById(id, InvokeKind::PropertyPut, args);
    args.clear();
    EXPECT_EQ(a.InvokeById(id, InvokeKind::PropertyGet, args).toLong(), 5);
    EXPECT_EQ(b.InvokeById(id, InvokeKind::PropertyGet, args).toLong(), 0);
    EXPECT_EQ(errorOf([&] { a.InvokeById(id + 12345, InvokeKind::PropertyGet, args); }),
              ax::err::MemberNotFound);
    ax::MemberInfo info;
    ASSERT_TRUE(a.DescribeMember(id, info));
    EXPECT_EQ(info.name, "level");
    EXPECT_EQ(info.params, -1);
    EXPECT_TRUE(info.answers(InvokeKind::PropertyGet) && !info.answers(InvokeKind::PropertyPutRef));
}

TEST(DispatchIds, EventSourcesDescribeTheirEventsAndWriteBackWhole) {
    static constexpr ax::EventDescription kEvents[] = {{"Change", 1},
                                                       {"KeyDown", 2, {"KeyCode", "Shift"}, 2}};
    ax::EventSource source;
    source.describe(kEvents);
    ASSERT_NE(source.find("keydown"), nullptr);
    EXPECT_EQ(source.find("keydown")->dispid, 2);
    EXPECT_EQ(source.find(2)->params[1], "Shift");
    EXPECT_EQ(source.find("KeyUp"), nullptr);

    struct Writer : ax::EventSink {
        Variant code, shift;
        void OnEvent(int32_t, std::string_view, std::vector<Variant>& args) override {
            args[0] = code;
            args[1] = shift;
        }
    };
    auto w = std::make_shared<Writer>();
    source.Advise(w);
    int16_t code = 65, shift = 0;
    w->code = Variant(int16_t(0));
    w->shift = Variant("not a number");
    EXPECT_EQ(errorOf([&] { source.raise(2, "KeyDown", code, shift); }), ax::err::TypeMismatch);
    EXPECT_EQ(code, 65);  // the convertible value was not taken alone
    w->shift = Variant(int32_t(1));
    source.raise(2, "KeyDown", code, shift);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(shift, 1);
}

}  // namespace
