// Transactions as a host runs them: begin, change the grid through the host's members and the
// editors, then roll back (the whole grid as it was) or commit (the changes stay).
#include "tests/grid/format/format_host.h"

namespace vantrel::fmttest {
namespace {

// Everything a roll-back gives back, read as a host sees it (pictures from the inner grid, which
// also shows check marks).
struct Snapshot {
    int32_t rows = 0;
    std::vector<std::string> texts, data;
    std::vector<int32_t> rowData, colData;
    // Per picture cell: row, col, handle, alignment, picture alignment, back colour, fore colour.
    std::vector<std::vector<int64_t>> pictures;

    bool operator==(const Snapshot&) const = default;
};

class TransactionTest : public FormatTest {
  protected:
    Snapshot snapshot() {
        Snapshot s;
        ax::FlexGrid& g = inner();
        const int32_t keepRow = g.Row(), keepCol = g.Col();
        s.rows = grid->Rows();
        for (int32_t c = 0; c < grid->Cols(); ++c) s.colData.push_back(g.ColData(c));
        for (int32_t r = 0; r < s.rows; ++r) {
            s.rowData.push_back(g.RowData(r));
            for (int32_t c = 0; c < grid->Cols(); ++c) {
                s.texts.push_back(grid->TextMatrix(r, c));
                s.data.push_back(grid->DataMatrix(r, c));
                g.setRow(r);
                g.setCol(c);
                const int32_t handle = g.CellPicture()->Handle();
                if (handle != 0)
                    s.pictures.push_back({r, c, handle, g.CellAlignment(), g.CellPictureAlignment(),
                                          int64_t(g.CellBackColor()), int64_t(g.CellForeColor())});
            }
        }
        g.setRow(keepRow);
        g.setCol(keepCol);
        return s;
    }

    // A grid with one column of each sort a roll-back must treat apart: check boxes (1), plain text
    // with pictures (2), and text with maintained strings (3).
    void arrange() {
        useColumn(1, CheckBox);
        grid->setTextMatrix(1, 1, "1");
        grid->setTextMatrix(3, 1, "1");
        at(1, 3);
        grid->setColMaintainData(true);
        for (int32_t r = 0; r < 6; ++r) grid->setDataMatrix(r, 3, "d" + std::to_string(r));
        for (int32_t r = 0; r < 6; ++r) inner().setRowData(r, 100 + r);
        for (int32_t c = 0; c < 4; ++c) inner().setColData(c, 10 + c);
        attachImages();
        grid->SetCellPicture(2, 2, ax::Variant("red"));
        at(2, 2);
        grid->setCellPictureAlignment(ax::flex::AlignRightTop);
        grid->setCellBackColor(ax::rgb(1, 2, 3));
        grid->setCellForeColor(ax::rgb(4, 5, 6));
        grid->setCellAlignment(ax::flex::AlignCenterBottom);
        // A heading of the check-box column may carry a picture of its own, put there by the host.
        inner().setRow(0);
        inner().setCol(1);
        inner().setCellPicture(blue);
        at(4, 2);
        host->clearPropertyChanges();
    }
};

TEST_F(TransactionTest, RollBackReturnsTheWholeGridWhateverWasDoneInBetween) {
    arrange();
    const Snapshot before = snapshot();
    ASSERT_EQ(before.pictures.size(), 4u);  // two check marks, the red cell, the blue heading

    grid->BeginTrans();
    EXPECT_TRUE(grid->IsInTransaction());
    EXPECT_EQ(changesNamed("IsInTransaction"), 1u);

    // The user types into a cell through its editor, and ticks a check box.
    at(2, 3);
    host->setFocus(&inner());
    host->typeText("zz");
    host->typeKey(ax::key::Return);
    EXPECT_NE(grid->TextMatrix(2, 3), "r2c3");
    at(3, 1);
    host->setFocus(&inner());
    host->typeText(" ");
    host->typeKey(ax::key::Return);
    // The host rewrites cells of every kind, adds and removes rows, and changes pictures and formats.
    grid->setTextMatrix(1, 1, "0");
    grid->setTextMatrix(5, 1, "1");
    grid->setTextMatrix(0, 2, "new heading");
    grid->setTextMatrix(4, 2, "changed");
    grid->setDataMatrix(1, 3, "other data");
    grid->AddItem("\ta\tb\tc");
    grid->AddItem("\tx\ty\tz", 2);
    grid->AddItem("");
    grid->RemoveItem(1);
    grid->setDataMatrix(7, 3, "data of an added row");
    inner().setRowData(2, -5);
    inner().setColData(3, -7);
    // Pictures and their formats change: one replaced, one cleared, one added on a new row.
    at(2, 2);
    grid->setCellPicture(blue);
    at(3, 2);
    grid->setCellPicture(ax::emptyPicture());
    grid->setCellPictureAlignment(ax::flex::AlignLeftTop);
    grid->setCellBackColor(ax::rgb(9, 9, 9));
    inner().setRow(0);
    inner().setCol(1);
    inner().setCellPicture(ax::emptyPicture());
    grid->SetCellPicture(6, 3, ax::Variant("red"));
    ASSERT_NE(snapshot(), before);

    at(4, 3);
    events.rowColChanges = 0;
    grid->RollBack();
    EXPECT_FALSE(grid->IsInTransaction());
    EXPECT_EQ(changesNamed("IsInTransaction"), 2u);
    // The current cell stays where the host left it and painting is on; the walk over the cells
    // was not reported to the host cell by cell.
    EXPECT_EQ(inner().Row(), 4);
    EXPECT_EQ(inner().Col(), 3);
    EXPECT_TRUE(inner().Redraw());
    EXPECT_EQ(events.rowColChanges, 0);
    // Ordinary use goes on: the host hears the current cell move again.
    grid->setRow(2);
    EXPECT_EQ(events.rowColChanges, 1);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(TransactionTest, CommitKeepsTheChangesAndCallsOutOfTurnChangeNothing) {
    grid->Commit();
    grid->RollBack();
    EXPECT_FALSE(grid->IsInTransaction());
    EXPECT_EQ(changesNamed("IsInTransaction"), 0u);

    grid->BeginTrans();
    grid->setTextMatrix(1, 1, "first");
    grid->BeginTrans();  // no nesting: the point to return to stays at the first call
    grid->setTextMatrix(2, 2, "second");
    EXPECT_EQ(changesNamed("IsInTransaction"), 1u);
    grid->RollBack();
    EXPECT_EQ(grid->TextMatrix(1, 1), "r1c1");
    EXPECT_EQ(grid->TextMatrix(2, 2), "r2c2");

    grid->BeginTrans();
    grid->setTextMatrix(1, 1, "kept");
    grid->AddItem("\tadded");
    grid->Commit();
    EXPECT_FALSE(grid->IsInTransaction());
    grid->RollBack();
    EXPECT_EQ(grid->TextMatrix(1, 1), "kept");
    EXPECT_EQ(grid->Rows(), 7);
    EXPECT_EQ(grid->TextMatrix(6, 1), "added");
    EXPECT_EQ(changesNamed("IsInTransaction"), 4u);

    // By name, as a late-bound host runs one.
    std::vector<ax::Variant> none;
    grid->Invoke("BeginTrans", ax::InvokeKind::Method, none);
    EXPECT_EQ(ax::cBool(grid->Invoke("IsInTransaction", ax::InvokeKind::PropertyGet, none)), true);
    grid->setTextMatrix(1, 1, "gone");
    grid->Invoke("rollback", ax::InvokeKind::Method, none);
    EXPECT_EQ(grid->TextMatrix(1, 1), "kept");
}

TEST_F(TransactionTest, ShapeAndEditorSettingsStayPutWhileOpenButRowsAndCellsMove) {
    at(1, 2);
    const int16_t editWidth = grid->EditWidthMin();
    const std::string prompt = grid->ColMaskEditPromptChar();
    const int32_t dateFormat = grid->ColDTPickFormat();
    const int16_t numberMax = grid->ColZelPickerMax(), numberMin = grid->ColZelPickerMin();
    grid->BeginTrans();
    grid->setCols(8);
    grid->setFixedRows(2);
    grid->setFixedCols(0);
    grid->setColPosition(2, 3);
    grid->setInputStyle(CheckBox);
    grid->setColInputStyle(ZelPicker);
    grid->setMaintainData(true);
    grid->setColMaintainData(true);
    grid->setEditWidthMin(50);
    grid->setColEditWidthMin(60);
    grid->setZelPickerMax(10);
    grid->setColZelPickerMax(10);
    grid->setZelPickerMin(5);
    grid->setColZelPickerMin(5);
    grid->setMaskEditMask("###");
    grid->setColMaskEditMask("###");
    grid->setMaskEditPromptChar("#");
    grid->setColMaskEditPromptChar("#");
    grid->setDTPickFormat(3);
    grid->setColDTPickFormat(3);
    EXPECT_EQ(grid->Cols(), 4);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_EQ(grid->TextMatrix(1, 2), "r1c2");  // the column did not move
    EXPECT_EQ(grid->InputStyle(), TextBox);
    EXPECT_EQ(grid->ColInputStyle(), TextBox);
    EXPECT_FALSE(grid->MaintainData());
    EXPECT_FALSE(grid->ColMaintainData());
    EXPECT_EQ(grid->EditWidthMin(), editWidth);
    EXPECT_EQ(grid->ColZelPickerMax(), numberMax);
    EXPECT_EQ(grid->ColZelPickerMin(), numberMin);
    EXPECT_EQ(grid->ZelPickerMax(), 32767);
    EXPECT_EQ(grid->ZelPickerMin(), -32768);
    EXPECT_EQ(grid->ColMaskEditMask(), "");
    EXPECT_EQ(grid->ColMaskEditPromptChar(), prompt);
    EXPECT_EQ(grid->ColDTPickFormat(), dateFormat);

    grid->setRows(9);
    grid->AddItem("\tplus");
    grid->RemoveItem(2);
    grid->setRowPosition(1, 3);
    grid->Clear();
    EXPECT_EQ(grid->Rows(), 9);
    EXPECT_EQ(grid->TextMatrix(1, 1), "");
    grid->RollBack();
    EXPECT_EQ(grid->Rows(), 6);
    for (int32_t r = 0; r < 6; ++r)
        for (int32_t c = 0; c < 4; ++c)
            EXPECT_EQ(grid->TextMatrix(r, c), "r" + std::to_string(r) + "c" + std::to_string(c));

    // Closed again, the settings move.
    grid->setCols(5);
    EXPECT_EQ(grid->Cols(), 5);
}

TEST_F(TransactionTest, ASaveDuringTheTransactionMovesTheTextsButNotThePictures) {
    attachImages();
    grid->SetCellPicture(1, 1, ax::Variant("red"));
    grid->BeginTrans();
    grid->setTextMatrix(2, 2, "saved");
    grid->AddItem("\tsaved row");
    grid->SetCellPicture(3, 3, ax::Variant("blue"));
    at(1, 1);
    grid->setCellPicture(ax::emptyPicture());
    EXPECT_TRUE(grid->SaveVNContentToShadow());
    EXPECT_TRUE(grid->IsInTransaction());
    grid->setTextMatrix(2, 2, "lost");
    grid->RemoveItem(6);
    grid->RollBack();
    EXPECT_EQ(grid->Rows(), 7);
    EXPECT_EQ(grid->TextMatrix(2, 2), "saved");
    EXPECT_EQ(grid->TextMatrix(6, 1), "saved row");
    EXPECT_EQ(pictureAt(1, 1), red->Handle());
    EXPECT_EQ(pictureAt(3, 3), 0);

    // Outside a transaction the call only fills the shadow; it opens nothing.
    EXPECT_TRUE(grid->SaveVNContentToShadow());
    EXPECT_FALSE(grid->IsInTransaction());
    grid->setCols(6);
    EXPECT_EQ(grid->Cols(), 6);
}

TEST_F(TransactionTest, RowsBeyondWhatTheRowsPropertyTakesStillComeBack) {
    grid->setCols(2);
    grid->setMaintainData(true);
    for (int32_t r = 6; r < 33000; ++r) grid->AddItem("\t" + std::to_string(r));
    grid->setDataMatrix(32999, 1, "last");
    grid->BeginTrans();
    for (int32_t i = 0; i < 5; ++i) grid->RemoveItem(100);
    grid->setDataMatrix(32994, 1, "moved up");
    grid->RollBack();
    ASSERT_EQ(grid->Rows(), 33000);
    EXPECT_EQ(grid->TextMatrix(100, 1), "100");
    EXPECT_EQ(grid->TextMatrix(32999, 1), "32999");
    EXPECT_EQ(grid->DataMatrix(32999, 1), "last");
    EXPECT_EQ(grid->DataMatrix(32994, 1), "");

    // And the other way: rows added past the limit go again.
    grid->BeginTrans();
    for (int32_t i = 0; i < 3; ++i) grid->AddItem("\textra");
    grid->RollBack();
    EXPECT_EQ(grid->Rows(), 33000);
    EXPECT_EQ(grid->DataMatrix(32999, 1), "last");
}

TEST_F(TransactionTest, AFormDesignerCannotOpenOrReadATransaction) {
    grid = std::make_shared<Vantrel>();
    host = std::make_unique<ax::HeadlessHost>(children = std::make_shared<BreakableChildren>());
    place(false);
    EXPECT_EQ(errorOf([&] { grid->IsInTransaction(); }), ax::err::NotAtDesignTime);
    EXPECT_EQ(errorOf([&] { grid->BeginTrans(); }), ax::err::NotAtDesignTime);
    EXPECT_EQ(errorOf([&] { grid->Commit(); }), 0);
    EXPECT_EQ(errorOf([&] { grid->RollBack(); }), 0);
    // No transaction opened: the shape still moves.
    grid->setCols(7);
    EXPECT_EQ(grid->Cols(), 7);
    EXPECT_TRUE(inner().Redraw());
}

TEST_F(TransactionTest, AFailingStepStillEndsTheTransactionWithPaintingOnAndTheCellInPlace) {
    grid->BeginTrans();
    grid->setTextMatrix(2, 2, "changed");
    grid->AddItem("\tadded");
    at(3, 2);
    inner().failing = {"TextMatrix"};
    grid->RollBack();
    inner().failing.clear();
    EXPECT_FALSE(grid->IsInTransaction());
    EXPECT_EQ(grid->Rows(), 6);  // the step failed after the row count came back
    EXPECT_TRUE(inner().Redraw());
    EXPECT_EQ(inner().Row(), 3);
    EXPECT_EQ(inner().Col(), 2);
    events.rowColChanges = 0;
    grid->setRow(1);
    EXPECT_EQ(events.rowColChanges, 1);

    // A save that cannot switch painting off fails, and BeginTrans opens the transaction regardless.
    inner().failing = {"Redraw"};
    EXPECT_FALSE(grid->SaveVNContentToShadow());
    grid->BeginTrans();
    inner().failing.clear();
    EXPECT_TRUE(grid->IsInTransaction());
    grid->Commit();
    EXPECT_FALSE(grid->IsInTransaction());
}

}  // namespace
}  // namespace vantrel::fmttest
