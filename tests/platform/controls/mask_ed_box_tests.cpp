#include <gtest/gtest.h>

#include "input_helpers.h"
#include "platform/automation/errors.h"
#include "platform/controls/headless/mask_ed_box.h"

using namespace ctltest;

namespace {

struct DateBox {
    ax::HeadlessMaskEdBox box;
    std::vector<std::string> changes;
    DateBox() {
        box.setMask("##/##/####");
        box.onChange = [this] { changes.push_back(box.Text()); };
    }
};

}  // namespace

TEST(MaskEdBox, DateMaskFilledPartlyWhollyAndCleared) {
    DateBox d;
    EXPECT_EQ(d.box.Text(), "__/__/____");
    EXPECT_EQ(d.box.ClipText(), "");

    type(d.box, "12");
    EXPECT_EQ(d.box.Text(), "12/__/____");
    EXPECT_EQ(d.box.ClipText(), "12");
    EXPECT_EQ(d.changes, (std::vector<std::string>{"1_/__/____", "12/__/____"}));

    // Literals are skipped by typing; letters do not fit digit positions and change nothing.
    std::vector<std::string> refused;
    d.box.onValidationError = [&](std::string& text, int32_t& at) {
        refused.push_back(text + "@" + std::to_string(at));
    };
    type(d.box, "3x4");
    EXPECT_EQ(d.box.Text(), "12/34/____");
    EXPECT_EQ(refused, (std::vector<std::string>{"12/3x/____@4"}));
    EXPECT_EQ(d.changes.size(), 4u);
    type(d.box, "/2026");  // the separator right after the field is stepped over, not doubled
    EXPECT_EQ(d.box.Text(), "12/34/2026");
    EXPECT_EQ(d.box.ClipText(), "12342026");
    type(d.box, "9");  // no position left
    EXPECT_EQ(d.box.Text(), "12/34/2026");
    EXPECT_EQ(d.changes.size(), 8u);

    // Backspace empties positions from the end, stepping back over literals.
    for (int i = 0; i < 5; ++i) press(d.box, ax::key::Back);
    EXPECT_EQ(d.box.Text(), "12/3_/____");
    EXPECT_EQ(d.box.ClipText(), "123");
    EXPECT_EQ(d.box.SelStart(), 4);

    // Selecting everything and deleting clears it; Delete on nothing left changes nothing.
    d.box.setSelStart(0);
    d.box.setSelLength(10);
    press(d.box, ax::key::Delete);
    EXPECT_EQ(d.box.Text(), "__/__/____");
    EXPECT_EQ(d.box.ClipText(), "");
    const size_t n = d.changes.size();
    press(d.box, ax::key::Delete);
    press(d.box, ax::key::Back);
    EXPECT_EQ(d.changes.size(), n);

    // A typed character replaces the selection, landing in the first input position of it.
    d.box.setText("01/02/2003");
    d.box.setSelStart(2);
    d.box.setSelLength(3);
    EXPECT_EQ(d.box.SelText(), "/02");
    type(d.box, "7");
    EXPECT_EQ(d.box.Text(), "01/7_/2003");
}

TEST(MaskEdBox, TextMustFitTheMask) {
    DateBox d;
    d.box.setText("31/12/1999");
    EXPECT_EQ(d.box.ClipText(), "31121999");
    d.box.setText("12/__/2000");  // prompts stand for empty positions
    EXPECT_EQ(d.box.ClipText(), "122000");
    d.box.setText("07/0");  // a prefix leaves the rest empty
    EXPECT_EQ(d.box.Text(), "07/0_/____");
    for (const char* bad : {"12-34-5678", "1a/00/0000", "12/34/56789", "12345678"})
        EXPECT_THROW(d.box.setText(bad), ax::AutomationError) << bad;
    EXPECT_EQ(d.box.Text(), "07/0_/____");  // a refused text changes nothing
    d.box.setText("");
    EXPECT_EQ(d.box.Text(), "__/__/____");

    try {
        d.box.setPromptChar("ab");
        FAIL();
    } catch (const ax::AutomationError& e) {
        EXPECT_EQ(e.number(), 380);
    }
    EXPECT_THROW(d.box.setPromptChar(""), ax::AutomationError);
    d.box.setPromptChar("*");
    EXPECT_EQ(d.box.Text(), "**/**/****");
    d.box.setPromptChar("·");  // any one character, also beyond ASCII
    EXPECT_EQ(d.box.Text(), "··/··/····");
    EXPECT_THROW(d.box.setMaxLength(65), ax::AutomationError);
    EXPECT_THROW(d.box.setMaxLength(0), ax::AutomationError);
}

TEST(MaskEdBox, MaskCharactersAndCase) {
    ax::HeadlessMaskEdBox box;
    box.setMask(">?<?\\#A&C9a");
    type(box, "abX");  // > makes a into A, < makes b stay b; the literal # is stepped over
    EXPECT_EQ(box.Text(), "Ab#x____");
    type(box, "!");  // & takes anything
    type(box, " ");  // C takes a blank
    type(box, "z");  // 9 takes only a digit: refused
    type(box, "5z");
    EXPECT_EQ(box.Text(), "Ab#x! 5z");
    EXPECT_EQ(box.ClipText(), "Abx! 5z");

    // The locale's separators and literals around the input.
    box.setMask("(###) ###-####");  // of the old text only the digit 5 fits
    EXPECT_EQ(box.Text(), "(5__) ___-____");
    type(box, "5551234567");
    EXPECT_EQ(box.Text(), "(555) 123-4567");
    box.setPromptInclude(false);
    box.setText("(555) 12");
    EXPECT_EQ(box.Text(), "(555) 12 -    ");
    EXPECT_EQ(box.ClipText(), "55512");

    // Prompt characters are refused as typed input unless AllowPrompt says otherwise.
    box.setPromptInclude(true);
    box.setMask("&&");
    box.setText("");
    type(box, "_");
    EXPECT_EQ(box.ClipText(), "");
    box.setAllowPrompt(true);
    type(box, "_");
    EXPECT_EQ(box.ClipText(), "_");
}

TEST(MaskEdBox, ChangingTheMaskRefitsAndEmptyMaskIsAPlainBox) {
    ax::HeadlessMaskEdBox box;
    std::vector<std::string> changes;
    box.onChange = [&] { changes.push_back(box.Text()); };

    // The grid's loading order: no mask, the cell text, then the mask.
    box.setMask("");
    box.setText("12/31/2026");
    box.setMask("##/##/####");
    EXPECT_EQ(box.Text(), "12/31/2026");
    box.setMask("####-##");  // the old display refits in order, dropping what does not fit
    EXPECT_EQ(box.Text(), "1231-20");
    box.setText("");
    box.setMask("");
    box.setText("ab12cd3");
    box.setMask("##-##");
    EXPECT_EQ(box.Text(), "12-3_");
    box.setMask("??");
    EXPECT_EQ(box.Text(), "__");  // digits do not fit letter positions: dropped, never an error
    EXPECT_EQ(changes,
              (std::vector<std::string>{"12/31/2026", "1231-20", "____-__", "ab12cd3", "12-3_", "__"}));

    // Without a mask the displayed text stays as plain text, and MaxLength limits typing only.
    box.setMask("");
    EXPECT_EQ(box.Text(), "__");
    box.setText("");
    box.setMaxLength(4);
    type(box, "héllo wörld");
    EXPECT_EQ(box.Text(), "héll");
    press(box, ax::key::Back);
    EXPECT_EQ(box.Text(), "hél");
    box.setText("longer than four");
    EXPECT_EQ(box.Text(), "longer than four");
}
