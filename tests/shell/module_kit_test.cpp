// The portable parts of the module kit: anchors, object counts, column sorting and row records.
#include <gtest/gtest.h>

#include "base/text.h"
#include "shell/form_anchors.h"
#include "shell/object_count.h"
#include "shell/report_model.h"
#include "shell/row_records.h"

TEST(FormAnchors, EdgesFollowTheGrowthAndNeverShrinkBelowTheFirstLayout)
{
    const AnchorRect at{10, 20, 110, 40};
    EXPECT_EQ(AnchoredRect(at, AnchorTopLeft, 50, 30), at);
    EXPECT_EQ(AnchoredRect(at, FollowRight | FollowBottom, 50, 30), (AnchorRect{60, 50, 160, 70}));
    EXPECT_EQ(AnchoredRect(at, StretchRight | StretchDown, 50, 30), (AnchorRect{10, 20, 160, 70}));
    EXPECT_EQ(AnchoredRect(at, FollowBottom | StretchRight, 50, 30), (AnchorRect{10, 50, 160, 70}));
    EXPECT_EQ(AnchoredRect(at, FollowRight | StretchDown, -40, -5), at) << "smaller than the first size";
    const ControlAnchor anchors[] = {{7, FollowRight}, {8, StretchDown}};
    EXPECT_EQ(AnchorOf(anchors, 8), unsigned(StretchDown));
    EXPECT_EQ(AnchorOf(anchors, 9), unsigned(AnchorTopLeft));
}

TEST(ObjectCount, SingularUpToOneRowAndForOneSelected)
{
    SetTextLanguage(0x0409);
    EXPECT_EQ(ObjectCountText(0, 0), "0 object");
    EXPECT_EQ(ObjectCountText(1, 0), "1 object");
    EXPECT_EQ(ObjectCountText(5, 0), "5 objects");
    EXPECT_EQ(ObjectCountText(5, 1), "1 selected object on 5");
    EXPECT_EQ(ObjectCountText(5, 3), "3 selected objects on 5");
}

TEST(CompareCells, EachKindOrdersItsOwnWay)
{
    EXPECT_LT(CompareCells(SortKind::TextNoCase, "apple", "Banana"), 0);
    EXPECT_EQ(CompareCells(SortKind::TextNoCase, "ABC", "abc"), 0);
    EXPECT_LT(CompareCells(SortKind::TextNoCase, "10", "9"), 0) << "text order, not numbers";

    EXPECT_LT(CompareCells(SortKind::Number, "9 KB", "10 KB"), 0);
    EXPECT_GT(CompareCells(SortKind::Number, "1,024 KB", "999 KB"), 0);
    EXPECT_LT(CompareCells(SortKind::Number, "-5", "3"), 0);
    EXPECT_LT(CompareCells(SortKind::Number, "", "0"), 0) << "no number sorts first";
    EXPECT_LT(CompareCells(SortKind::Number, "12", "2", 1, 2), 0) << "the keys decide";

    EXPECT_LT(CompareCells(SortKind::DateTime, "1999-01-02 9:00", "1999-01-02 10:00"), 0);
    EXPECT_GT(CompareCells(SortKind::DateTime, "12/31/98", "01/01/99", 200, 100), 0) << "file times decide";
}

namespace {
CReportModel ModelWithSizes()
{
    CReportModel model;
    ReportColumn name{"Name"};
    ReportColumn size{"Size"};
    size.sort = SortKind::Number;
    model.AddColumn(0, name);
    model.AddColumn(1, size);
    const char* rows[][2] = {{"b", "10"}, {"A", "9"}, {"c", "100"}};
    for (auto& r : rows)
        model.SetCellText(model.InsertRow(model.RowCount(), r[0]), 1, r[1]);
    return model;
}
std::vector<std::string> Column(const CReportModel& model, int column)
{
    std::vector<std::string> texts;
    for (int row = 0; row < model.RowCount(); ++row)
        texts.push_back(model.StoredText(row, column));
    return texts;
}
} // namespace

TEST(ReportSorting, ColumnsSortByTheirKindBothWays)
{
    CReportModel model = ModelWithSizes();
    model.SortRows(1, true);
    EXPECT_EQ(Column(model, 1), (std::vector<std::string>{"9", "10", "100"}));
    model.SortRows(1, false);
    EXPECT_EQ(Column(model, 1), (std::vector<std::string>{"100", "10", "9"}));
    model.SortRows(0, true);
    EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"A", "b", "c"}));
}

TEST(ReportRows, ManyRowsGoInOnePassWithTheirRecords)
{
    struct Record {
        int n;
    };
    CRowRecords<Record> records;
    CReportModel model;
    for (int i = 0; i < 6; ++i)
        model.InsertRow(i, std::to_string(i), -1, records.Add(std::make_unique<Record>(Record{i})));
    std::vector<int> rows = {4, 1, 4, 99, -1, 0};
    std::vector<intptr_t> data;
    for (int row : rows)
        data.push_back(model.RowData(row));
    model.DeleteRows(rows);
    records.RemoveData(data);
    EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"2", "3", "5"}));
    ASSERT_EQ(records.Count(), 3u);
    EXPECT_EQ(CRowRecords<Record>::FromData(model.RowData(2))->n, 5);
}
