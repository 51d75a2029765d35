// Pictures of window trees: the size of the picture, every control drawn, states that show,
// owner-drawn items and a page's own painting where they were drawn and clipped to their window,
// a property sheet and a message box, and the script's screenshots written into a folder.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "host/gdi/device_context.h"
#include "host/windows/screenshot.h"
#include "host/windows/script.h"
#include "host/windows/window_manager.h"
#include "platform/gdi.h"
#include "platform/property_sheet.h"
#include "tests/host/windows/window_test_support.h"

namespace host::test {
namespace {

using namespace platform;

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 160, 0);

// Where the every-control dialog paints its own square, in its client coordinates.
constexpr RECT PaintedSquare{330, 300, 380, 340};

// A PNG read back with Cairo.
class Png {
  public:
    explicit Png(const std::filesystem::path& path)
        : surface_(cairo_image_surface_create_from_png(path.string().c_str())) {}
    ~Png() { cairo_surface_destroy(surface_); }
    Png(const Png&) = delete;
    Png& operator=(const Png&) = delete;

    bool Ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    int Width() const { return cairo_image_surface_get_width(surface_); }
    int Height() const { return cairo_image_surface_get_height(surface_); }
    COLORREF PixelAt(int x, int y) const {
        if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
            return RGB(255, 255, 255);
        }
        const unsigned char* row =
            cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
        uint32_t pixel = 0;
        std::memcpy(&pixel, row + x * 4, 4);
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

  private:
    cairo_surface_t* surface_;
};

// The window's rectangle in the picture of its top-level window.
RECT InPicture(HWND window) {
    RECT rect{};
    RECT top{};
    GetWindowRect(window, &rect);
    Window* found = WindowManager::Instance().Find(window);
    GetWindowRect(found->TopLevel()->Handle, &top);
    return RECT{rect.left - top.left, rect.top - top.top, rect.right - top.left,
                rect.bottom - top.top};
}

template <typename Picture>
std::vector<COLORREF> Pixels(const Picture& picture, const RECT& area) {
    std::vector<COLORREF> pixels;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            pixels.push_back(picture.PixelAt(x, y));
        }
    }
    return pixels;
}

template <typename Picture>
std::set<COLORREF> ColoursIn(const Picture& picture, const RECT& area) {
    const std::vector<COLORREF> pixels = Pixels(picture, area);
    return std::set<COLORREF>(pixels.begin(), pixels.end());
}

// The every-control dialog drawing its owner-drawn combo's items in red, over more than the
// item, and a green square of its own on WM_PAINT.
intptr_t DrawingProcedure(HWND dialog, uint32_t message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        const RECT beyond{item->rcItem.left - 100, item->rcItem.top - 100, item->rcItem.right + 100,
                          item->rcItem.bottom + 100};
        const HBRUSH brush = CreateSolidBrush(Red);
        FillRect(item->hDC, &beyond, brush);
        DeleteObject(brush);
        return TRUE;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(dialog, &paint);
        const HBRUSH brush = CreateSolidBrush(Green);
        FillRect(dc, &PaintedSquare, brush);
        DeleteObject(brush);
        EndPaint(dialog, &paint);
        return TRUE;
    }
    return RecordingProcedure(dialog, message, wparam, lparam);
}

class ScreenshotTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        folder_ =
            std::filesystem::temp_directory_path() /
            ("qvscreens-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        WindowTest::TearDown();
    }

    // The every-control dialog with items in its lists and a row in its list view.
    HWND OpenFilled(DLGPROC procedure = RecordingProcedure) {
        const HWND dialog = CreateDialogParamW(TestModule(), MAKEINTRESOURCEW(IDD_EVERY_CONTROL),
                                               nullptr, procedure, 0);
        EXPECT_NE(dialog, nullptr);
        ShowWindow(dialog, SW_SHOW);
        for (int32_t id : {IDC_LIST_SORTED, IDC_LIST_UNSORTED, IDC_LIST_MULTIPLE, IDC_LIST_EXTENDED,
                           IDC_LIST_SILENT}) {
            for (const char16_t* item : {u"草稿", u"机密", u"Draft"}) {
                SendDlgItemMessageW(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            }
        }
        for (int32_t id : {IDC_COMBO_LIST, IDC_COMBO_EDIT, IDC_COMBO_DRAWN}) {
            for (const char16_t* item : {u"A4", u"Letter"}) {
                SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            }
            SendDlgItemMessageW(dialog, id, CB_SETCURSEL, 0, 0);
        }
        SetDlgItemTextW(dialog, IDC_EDIT_LIMITED, u"水印");
        SetDlgItemTextW(dialog, IDC_EDIT_PASSWORD, u"secret");
        SetDlgItemTextW(dialog, IDC_EDIT_MULTILINE, u"第一行 second line");
        const HWND view = GetDlgItem(dialog, IDC_LISTVIEW);
        char16_t name[] = u"名称";
        char16_t value[] = u"值";
        LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, 120, name, 0, 0};
        SendMessageW(view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        column.pszText = value;
        column.cx = 100;
        SendMessageW(view, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        char16_t row[] = u"份数";
        LVITEMW item{LVIF_TEXT, 0, 0, 0, 0, row, 0, 0, 0, 0};
        SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        SendDlgItemMessageW(dialog, IDC_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        SendDlgItemMessageW(dialog, IDC_SLIDER, TBM_SETPOS, TRUE, 3);
        return dialog;
    }

    // Writes the window's screenshot and reads it back; it is as large as the window.
    std::unique_ptr<Png> Written(HWND window, const char* name) {
        const std::filesystem::path png = folder_ / name;
        std::string error;
        EXPECT_TRUE(WriteScreenshot(window, png, error)) << error;
        auto picture = std::make_unique<Png>(png);
        EXPECT_TRUE(picture->Ok());
        RECT rect{};
        GetWindowRect(window, &rect);
        EXPECT_EQ(picture->Width(), rect.right - rect.left);
        EXPECT_EQ(picture->Height(), rect.bottom - rect.top);
        return picture;
    }

    std::filesystem::path folder_;
};

TEST_F(ScreenshotTest, EveryControlIsDrawnInAPictureOfTheDialogsSize) {
    const HWND dialog = OpenFilled();
    ShowWindow(GetDlgItem(dialog, IDC_CENTRED), SW_HIDE);
    const auto picture = Written(dialog, "every.png");
    const auto colours = [&](HWND window) { return ColoursIn(*picture, InPicture(window)).size(); };
    for (const HWND child : [&] {
             std::vector<HWND> children;
             for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr;
                  c = GetWindow(c, GW_HWNDNEXT)) {
                 children.push_back(c);
             }
             return children;
         }()) {
        SCOPED_TRACE("control " + std::to_string(GetDlgCtrlID(child)));
        if (GetDlgCtrlID(child) == IDC_CENTRED) {
            EXPECT_EQ(colours(child), 1u) << "a hidden control leaves the dialog's face";
        } else {
            EXPECT_GE(colours(child), 2u) << "the control's area is blank";
        }
    }
}

TEST_F(ScreenshotTest, AControlsStateChangesItsPicture) {
    const HWND dialog = OpenFilled();
    struct Case {
        const char* Name;
        int32_t Id;
        void (*Change)(HWND dialog);
    };
    const Case cases[] = {
        {"checked", IDC_CHECK, [](HWND d) { CheckDlgButton(d, IDC_CHECK, BST_CHECKED); }},
        {"radio checked", IDC_RADIO_B2,
         [](HWND d) { CheckDlgButton(d, IDC_RADIO_B2, BST_CHECKED); }},
        {"list item selected", IDC_LIST_SORTED,
         [](HWND d) { SendDlgItemMessageW(d, IDC_LIST_SORTED, LB_SETCURSEL, 1, 0); }},
        {"multiple selection", IDC_LIST_MULTIPLE,
         [](HWND d) { SendDlgItemMessageW(d, IDC_LIST_MULTIPLE, LB_SETSEL, TRUE, 2); }},
        {"combo item", IDC_COMBO_LIST,
         [](HWND d) { SendDlgItemMessageW(d, IDC_COMBO_LIST, CB_SETCURSEL, 1, 0); }},
        {"disabled", IDOK, [](HWND d) { EnableWindow(GetDlgItem(d, IDOK), FALSE); }},
        {"focus", IDC_EDIT_NUMBER, [](HWND d) { SetFocus(GetDlgItem(d, IDC_EDIT_NUMBER)); }},
        {"text", IDC_LABEL, [](HWND d) { SetDlgItemTextW(d, IDC_LABEL, u"新的标签文字"); }},
        {"slider", IDC_SLIDER,
         [](HWND d) { SendDlgItemMessageW(d, IDC_SLIDER, TBM_SETPOS, TRUE, 9); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const RECT area = InPicture(GetDlgItem(dialog, c.Id));
        const auto before = Pixels(*DrawWindowTree(dialog), area);
        c.Change(dialog);
        const auto after = Pixels(*DrawWindowTree(dialog), area);
        EXPECT_NE(before, after);
    }
}

TEST_F(ScreenshotTest, OwnerDrawnItemsAndADialogsPaintingLandWhereDrawnAndStayInTheirWindow) {
    const HWND dialog = OpenFilled(DrawingProcedure);
    const auto picture = DrawWindowTree(dialog);
    ASSERT_NE(picture, nullptr);
    const RECT combo = InPicture(GetDlgItem(dialog, IDC_COMBO_DRAWN));
    // The field of the owner-drawn combo (3 pixels in from its edges) is the dialog's red.
    EXPECT_EQ(picture->PixelAt(combo.left + 10, (combo.top + combo.bottom) / 2), Red);
    // Drawing past the item stays inside the combo box.
    EXPECT_NE(picture->PixelAt(combo.left + 10, combo.top - 2), Red);
    EXPECT_NE(picture->PixelAt(combo.left - 2, (combo.top + combo.bottom) / 2), Red);
    EXPECT_NE(picture->PixelAt(combo.left + 10, combo.bottom + 1), Red);

    // The dialog's square, at its client coordinates below the caption.
    RECT window{};
    GetWindowRect(dialog, &window);
    const POINT client =
        WindowManager::Instance().ClientOrigin(*WindowManager::Instance().Find(dialog));
    const POINT origin{client.x - window.left, client.y - window.top};
    EXPECT_EQ(picture->PixelAt(origin.x + PaintedSquare.left, origin.y + PaintedSquare.top), Green);
    EXPECT_EQ(
        picture->PixelAt(origin.x + PaintedSquare.right - 1, origin.y + PaintedSquare.bottom - 1),
        Green);
    EXPECT_NE(picture->PixelAt(origin.x + PaintedSquare.left - 1, origin.y + PaintedSquare.top),
              Green);
    EXPECT_NE(picture->PixelAt(origin.x + PaintedSquare.right, origin.y + PaintedSquare.top),
              Green);
}

TEST_F(ScreenshotTest, BeginPaintOutsideAPictureGivesAWorkingDeviceContextAndNoWindowNoPicture) {
    const HWND dialog = OpenFilled();
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(dialog, &paint);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(paint.hdc, dc);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), client.right);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32W(dc, u"水印", 2, &size));
    EXPECT_GT(size.cx, 0);
    EXPECT_TRUE(EndPaint(dialog, &paint));
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 0) << "EndPaint releases the context";
    std::string error;
    EXPECT_FALSE(WriteScreenshot(reinterpret_cast<HWND>(0x4), folder_ / "none.png", error));
    EXPECT_EQ(error, "no window to take a screenshot of");
}

// A page painting a green corner of its own, from beyond its top-left corner.
intptr_t SheetPage(HWND page, uint32_t message, WPARAM, LPARAM) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(page, &paint);
        const RECT corner{-20, -20, 6, 6};
        const HBRUSH brush = CreateSolidBrush(Green);
        FillRect(dc, &corner, brush);
        DeleteObject(brush);
        EndPaint(page, &paint);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST_F(ScreenshotTest, APropertySheetShowsItsTabsButtonsAndCurrentPageWithThePagesPainting) {
    PROPSHEETPAGEW pages[2] = {};
    const uint16_t templates[2] = {IDD_PAGE_GENERAL, IDD_PAGE_NAMES};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEW);
        pages[i].hInstance = TestModule();
        pages[i].pszTemplate = MAKEINTRESOURCEW(templates[i]);
        pages[i].pfnDlgProc = SheetPage;
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
    header.pszCaption = u"打印机属性";
    header.nPages = 2;
    header.ppsp = pages;
    const auto sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_NE(sheet, nullptr);
    const auto written = Written(sheet, "sheet.png");
    ASSERT_EQ(Pixels(*written, InPicture(sheet)), Pixels(*DrawWindowTree(sheet), InPicture(sheet)))
        << "the file holds the picture";

    const auto general = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    const RECT corner = InPicture(general);
    EXPECT_EQ(written->PixelAt(corner.left, corner.top), Green);
    EXPECT_EQ(written->PixelAt(corner.left + 5, corner.top + 5), Green);
    EXPECT_NE(written->PixelAt(corner.left + 6, corner.top + 5), Green);
    EXPECT_NE(written->PixelAt(corner.left - 1, corner.top), Green) << "clipped to the page";
    EXPECT_NE(written->PixelAt(corner.left, corner.top - 1), Green) << "clipped to the page";

    const RECT tabs = InPicture(GetDlgItem(sheet, ID_SHEET_TAB));
    const RECT strip{tabs.left, tabs.top, tabs.right, tabs.top + 20};
    const auto first = DrawWindowTree(sheet);
    EXPECT_GE(ColoursIn(*first, strip).size(), 3u) << "tabs with titles";
    for (int32_t id : {IDOK, IDCANCEL, ID_APPLY_NOW}) {
        EXPECT_GE(ColoursIn(*first, InPicture(GetDlgItem(sheet, id))).size(), 3u) << id;
    }
    Run({Page(u"名称")});
    const auto second = DrawWindowTree(sheet);
    EXPECT_NE(Pixels(*first, strip), Pixels(*second, strip)) << "the current tab moved";
    const auto page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    const RECT list = InPicture(GetDlgItem(page, IDC_NAMES_LIST));
    EXPECT_GE(ColoursIn(*second, list).size(), 2u);
    DestroyWindow(sheet);
}

TEST_F(ScreenshotTest, AMessageBoxIsPicturedWhileItWaits) {
    const HWND dialog = OpenFilled();
    std::unique_ptr<ImageDC> box;
    RECT boxRect{};
    const auto previous = Input::Current().SetScreenshotHandler([&](const std::u16string&) {
        Window* front = WindowManager::Instance().FrontMost();
        boxRect = front->Rect;
        box = DrawWindowTree(front->Handle);
        return std::string();
    });
    Run({Check([dialog] {
             MessageBoxW(dialog, u"纸张大小与水印不符。", u"水印", MB_OKCANCEL | MB_ICONWARNING);
         }),
         Screenshot(u"box"), Answer(IDOK)});
    Input::Current().SetScreenshotHandler(previous);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(box->Surface()), boxRect.right - boxRect.left);
    // Caption, icon, text and two buttons: many colours.
    EXPECT_GE(
        ColoursIn(*box, RECT{0, 0, boxRect.right - boxRect.left, boxRect.bottom - boxRect.top})
            .size(),
        6u);
}

TEST_F(ScreenshotTest, AScriptWritesItsScreenshotsIntoTheChosenFolder) {
    OpenFilled();
    ScriptOptions options;
    options.ScreenshotFolder = folder_;
    EXPECT_FALSE(RunScript("click 104\nscreenshot 选中\n", options).has_value());
    EXPECT_TRUE(Png(folder_ / "选中.png").Ok());
    struct Case {
        const char* Script;
        std::string Failure;
    };
    const Case cases[] = {
        {"screenshot a/b\n", "line 1: the screenshot name \"a/b\" is not a plain file name"},
        {"screenshot ..\n", "line 1: the screenshot name \"..\" is not a plain file name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Script);
        auto failure = RunScript(c.Script, options);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(FormatFailure(*failure), c.Failure);
    }
    options.ScreenshotFolder = folder_ / "missing";
    auto failure = RunScript("screenshot x\n", options);
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->Message.find("cannot write the screenshot"), std::string::npos)
        << failure->Message;
}

}  // namespace
}  // namespace host::test
