// The DIALOGEX reader and the conversion of dialog units through the template's font.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/windows/dialog_template.h"
#include "host/windows/dialog_units.h"
#include "host/windows/window.h"
#include "host/windows/window_manager.h"
#include "platform/module.h"
#include "tests/host/windows/window_test_support.h"

namespace host::test {
namespace {

using namespace platform;

std::span<const uint8_t> TemplateBytes(uint16_t id) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    EXPECT_TRUE(FindResourceData(TestModule(), RT_DIALOG, id, &data, &size));
    return {data, size};
}

TEST(DialogTemplateTest, ReadsTheTemplateOfEveryControl) {
    std::string error;
    auto parsed = ParseDialogTemplate(TemplateBytes(IDD_EVERY_CONTROL), &error);
    ASSERT_TRUE(parsed.has_value()) << error;
    EXPECT_EQ(parsed->Caption, u"每种控件");
    EXPECT_EQ(parsed->FontFace, u"MS Shell Dlg");
    EXPECT_EQ(parsed->PointSize, 8);
    EXPECT_EQ(parsed->Cx, 400);
    ASSERT_EQ(parsed->Items.size(), 32u);
    struct Case {
        size_t Index;
        int32_t Id;
        std::u16string Class;
        uint32_t Style;  // bits that must be set
    };
    const Case cases[] = {
        {0, IDC_RADIO_A1, u"Button",
         BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | WS_CHILD | WS_VISIBLE},
        {7, IDC_EDIT_LIMITED, u"Edit", ES_AUTOHSCROLL | WS_BORDER},
        {12, IDC_LIST_SORTED, u"ListBox", LBS_SORT | LBS_NOTIFY},
        {19, IDC_COMBO_DRAWN, u"ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS},
        {20, IDC_SLIDER, u"msctls_trackbar32", TBS_AUTOTICKS},
        {22, IDC_SPIN, u"msctls_updown32", UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_WRAP},
        {25, IDC_LISTVIEW, u"SysListView32", LVS_REPORT | LVS_SORTASCENDING},
        {28, IDC_FRAME, u"Static", SS_WHITEFRAME},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Index);
        const DialogItemTemplate& item = parsed->Items[test.Index];
        EXPECT_EQ(item.Id, test.Id);
        EXPECT_TRUE(SameClassName(item.ClassName, test.Class)) << Utf8(item.ClassName);
        EXPECT_EQ(item.Style & test.Style, test.Style);
    }
    EXPECT_EQ(parsed->Items[25].ExStyle, WS_EX_CLIENTEDGE);
}

TEST(DialogTemplateTest, RefusesMalformedTemplatesWithoutReadingPastThem) {
    const std::span<const uint8_t> whole = TemplateBytes(IDD_NESTED);
    // Every prefix of a good template is cut somewhere that matters.
    for (size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        const std::vector<uint8_t> prefix(whole.begin(),
                                          whole.begin() + static_cast<std::ptrdiff_t>(size));
        std::string error;
        EXPECT_FALSE(ParseDialogTemplate(prefix, &error).has_value());
        EXPECT_FALSE(error.empty());
    }
    // Any byte spoiled gives a template or a reason, never a read past the end.
    for (size_t offset = 0; offset < whole.size(); ++offset) {
        std::vector<uint8_t> bytes(whole.begin(), whole.end());
        bytes[offset] = 0xFF;
        std::string error;
        const bool parsed = ParseDialogTemplate(bytes, &error).has_value();
        EXPECT_NE(parsed, !error.empty()) << offset;
    }
    struct Case {
        const char* Name;
        size_t Offset;
        std::vector<uint8_t> Patch;
        std::string Error;
    };
    // The first control's class, which the resource compiler writes as the upper-cased name.
    const uint8_t editClass[] = {'E', 0, 'D', 0, 'I', 0, 'T', 0};
    const size_t firstClass = static_cast<size_t>(
        std::search(whole.begin(), whole.end(), std::begin(editClass), std::end(editClass)) -
        whole.begin());
    ASSERT_LT(firstClass, whole.size());
    const Case cases[] = {
        {"an old-style template", 0, {0x00, 0x00}, "not a DIALOGEX template"},
        {"a wrong signature", 2, {0x00, 0xFF}, "not a DIALOGEX template"},
        {"more controls than bytes", 16, {0x09, 0x00}, "control 4 of 9 is truncated"},
        {"an unknown class ordinal",
         firstClass,
         {0xFF, 0xFF, 0x99, 0x00},
         "control 201 names unknown class ordinal 153"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        std::vector<uint8_t> bytes(whole.begin(), whole.end());
        std::copy(test.Patch.begin(), test.Patch.end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(test.Offset));
        std::string error;
        EXPECT_FALSE(ParseDialogTemplate(bytes, &error).has_value());
        EXPECT_EQ(error, test.Error);
    }
}

TEST(DialogUnitsTest, ScaleThroughTheTemplatesFont) {
    struct Case {
        const char* Name;
        std::u16string Face;
        uint16_t Points;
        int32_t X, Y;
    };
    const Case cases[] = {
        {"the usual Latin dialog face", u"MS Shell Dlg", 8, 6, 13},
        {"the Chinese dialog face", u"宋体", 9, 6, 12},
        {"a larger Latin face", u"Tahoma", 11, 8, 18},
        {"no font in the template", u"", 0, 6, 13},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        const BaseUnits units = FontBaseUnits(test.Face, test.Points);
        EXPECT_EQ(units.X, test.X);
        EXPECT_EQ(units.Y, test.Y);
    }
    const RECT rect = DialogUnitsToPixels(BaseUnits{6, 13}, 140, 10, 60, 40);
    EXPECT_EQ(rect.left, 210);
    EXPECT_EQ(rect.top, 16);
    EXPECT_EQ(rect.right - rect.left, 90);
    EXPECT_EQ(rect.bottom - rect.top, 65);
}

class DialogGeometryTest : public WindowTest {};

TEST_F(DialogGeometryTest, ControlsLandWhereTheirDialogUnitsSay) {
    const HWND dialog = OpenEveryControl();
    RECT list{};
    RECT client{};
    ASSERT_TRUE(GetWindowRect(GetDlgItem(dialog, IDC_LIST_SORTED), &list));
    ASSERT_TRUE(GetClientRect(dialog, &client));
    const POINT origin =
        WindowManager::Instance().ClientOrigin(*WindowManager::Instance().Find(dialog));
    EXPECT_EQ(list.left - origin.x, 210);
    EXPECT_EQ(list.top - origin.y, 16);
    EXPECT_EQ(client.right, 600);
    EXPECT_EQ(client.bottom, 488);
    RECT units{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    EXPECT_EQ(units.right, 6);
    EXPECT_EQ(units.bottom, 13);
}

}  // namespace
}  // namespace host::test
