#include "ui/watermarks/watermark_editor.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/spooler.h"
#include "platform/windows.h"
#include "settings/module_instance.h"
#include "settings/settings.h"
#include "ui/core/modal_dialog.h"
#include "ui/core/printer_info.h"
#include "ui/core/sheet_state.h"
#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/dynamic_text.h"
#include "ui/watermarks/dynamic_variable_picker.h"
#include "ui/watermarks/watermark_placement.h"
#include "ui/watermarks/watermark_preview.h"
#include "ui/watermarks/watermark_store.h"
#include "watermark/watermark_drawing.h"

namespace qv::ui {

using namespace platform;

namespace {

constexpr uint32_t TextCharacters = 127;
constexpr int32_t SmallestListedSize = 8;
constexpr int32_t LargestListedSize = 72;
constexpr int32_t LargestTypedSize = 500;

struct ColorChoice {
    uint32_t Name;
    COLORREF Value;
};

// In the order they are added; the sorted list shows them by name.
constexpr std::array<ColorChoice, 13> Colors = {{
    {IDS_COLOR_BLACK, 0x000000},
    {IDS_COLOR_RED, 0x0000FF},
    {IDS_COLOR_GREEN, 0x00FF00},
    {IDS_COLOR_BLUE, 0xFF0000},
    {IDS_COLOR_GRAY, 0xCDCDCD},
    {IDS_COLOR_PURPLE, 0xDF00B4},
    {IDS_COLOR_YELLOW, 0x00FFFF},
    {IDS_COLOR_ORANGE, 0x1191EE},
    {IDS_COLOR_LIGHT_BLUE, 0xFFFF00},
    {IDS_COLOR_NAVY, 0x800000},
    {IDS_COLOR_WHITE, 0xFFFFFF},
    {IDS_COLOR_PINK, 0xA264F8},
    {IDS_COLOR_BROWN, 0x004080},
}};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsBlank(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
    });
}

// The leading decimal number of the text as the C library's _wtoi reads it: blanks, a sign,
// digits; saturated to 32 bits; 0 when there is none.
int32_t LeadingNumber(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = std::min<int64_t>(value * 10 + (text[i] - u'0'), int64_t{1} << 32);
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool AllDigits(std::u16string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

std::u16string Decimal(int64_t value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

std::u16string WithoutTrailingSpaces(std::u16string text) {
    text.erase(text.find_last_not_of(u' ') + 1);
    return text;
}

template <size_t N>
std::u16string TextOf(const char16_t (&text)[N]) {
    return std::u16string(text, std::find(text, text + N, u'\0'));
}

template <size_t N>
void CopyInto(char16_t (&target)[N], std::u16string_view text) {
    const size_t count = std::min(text.size(), N - 1);
    std::fill(std::begin(target), std::end(target), u'\0');
    std::copy_n(text.begin(), count, target);
}

// The name of the printer driver's configuration module without folder and extension, as the
// printer's device context is created with; "PS5UI" when it cannot be read.
std::u16string DeviceDriverName(HANDLE printer) {
    std::optional<InfoBuffer> info = ReadDriverInfo2(printer);
    const DRIVER_INFO_2W* driver = info ? info->As<DRIVER_INFO_2W>() : nullptr;
    if (driver == nullptr || driver->pConfigFile == nullptr) {
        return u"PS5UI";
    }
    std::u16string file = driver->pConfigFile;
    const size_t folder = file.find_last_of(u"\\/");
    if (folder != std::u16string::npos) {
        file.erase(0, folder + 1);
    }
    const size_t extension = file.rfind(u'.');
    if (extension == std::u16string::npos) {
        return u"PS5UI";
    }
    file.erase(extension);
    return file;
}

int AddFace(const LOGFONTW* font, const TEXTMETRICW*, uint32_t, LPARAM param) {
    const ComboBox& list = *reinterpret_cast<const ComboBox*>(param);
    const std::u16string face = TextOf(font->lfFaceName);
    if (!face.empty() && list.FindExact(face) < 0) {
        list.Add(face);
    }
    return 1;
}

class WatermarkEditor final : public ModalDialog {
  public:
    WatermarkEditor(SheetState* state, bool adding, const settings::WatermarkSpec& edited,
                    std::u16string originalName)
        : ModalDialog(settings::ModuleInstance, IDD_WATERMARK_EDITOR),
          printer_(state->Params->hPrinter),
          printerName_(state->Params->pPrinterName != nullptr ? state->Params->pPrinterName : u""),
          adding_(adding),
          edited_(edited),
          originalName_(std::move(originalName)) {}

    const settings::WatermarkSpec& Saved() const { return edited_; }

  private:
    bool OnInit() override {
        const bool outer = std::exchange(quiet_, true);
        SetWindowTextW(Window(),
                       LoadText(adding_ ? IDS_EDITOR_ADD_TITLE : IDS_EDITOR_EDIT_TITLE).c_str());
        EditAt(IDC_EDITOR_NAME).SetLimit(TextCharacters);
        EditAt(IDC_EDITOR_TEXT).SetLimit(TextCharacters);
        EditAt(IDC_EDITOR_NAME).SetText(TextOf(edited_.Name));
        EditAt(IDC_EDITOR_TEXT).SetText(TextOf(edited_.Text));
        ShowSizes();
        ShowAngle();
        ShowColors();
        ButtonAt(IDC_EDITOR_STRIKEOUT).SetChecked((edited_.Effects & 1) != 0);
        ButtonAt(IDC_EDITOR_UNDERLINE).SetChecked((edited_.Effects & 2) != 0);
        ButtonAt(IDC_EDITOR_OUTLINE).SetChecked((edited_.Effects & 4) != 0);
        ShowFonts();
        ButtonAt(IDC_EDITOR_ITALIC).SetChecked(edited_.FontStyle == 1 || edited_.FontStyle == 3);
        ButtonAt(IDC_EDITOR_BOLD).SetChecked(edited_.FontStyle == 2 || edited_.FontStyle == 3);
        EditAt(IDC_EDITOR_INTENSITY).SetLimit(3);
        lastIntensity_ = edited_.Intensity;
        SpinAt(IDC_EDITOR_INTENSITY_SPIN).SetRange(1, 100);
        SpinAt(IDC_EDITOR_INTENSITY_SPIN).SetPosition(edited_.Intensity);
        EditAt(IDC_EDITOR_INTENSITY).SetText(Decimal(edited_.Intensity));
        placement_ = WatermarkPlacement{edited_.OffsetVertical, edited_.OffsetHorizontal,
                                        edited_.UnitsInches != 0, edited_.Position};
        ButtonAt(IDC_EDITOR_DYNAMIC).SetChecked(edited_.Dynamic != 0);
        ButtonAt(IDC_EDITOR_VARIABLES).Enable(edited_.Dynamic != 0);
        InstallWatermarkPreview(Item(IDC_WATERMARK_PREVIEW), edited_, printer_,
                                [this](settings::WatermarkSpec& record) {
                                    record = ReadEditorControls();
                                    return true;
                                });
        quiet_ = outer;
        UpdateOkButton();
        return true;
    }

    void ShowSizes() {
        const ComboBox sizes = ComboAt(IDC_EDITOR_SIZE);
        for (int32_t size = SmallestListedSize; size <= LargestListedSize; size += 2) {
            sizes.AddWithData(Decimal(size), size);
        }
        lastFontSize_ = edited_.FontSize;
        sizes.SetEditLimit(4);
        for (int32_t i = 0; i < sizes.Count(); ++i) {
            if (sizes.ItemData(i) == edited_.FontSize) {
                sizes.Select(i);
                return;
            }
        }
        // Signed, so a size below 1 shows as what it is and is refused at OK.
        sizes.SetText(Decimal(edited_.FontSize));
    }

    void ShowAngle() {
        EditAt(IDC_EDITOR_ANGLE).SetLimit(4);
        if (!(edited_.Angle >= -180.0 && edited_.Angle <= 180.0)) {
            edited_.Angle = 0;
        }
        const int32_t angle = watermark::RoundHalfAway(edited_.Angle);
        lastAngle_ = edited_.Angle;
        SpinAt(IDC_EDITOR_ANGLE_SPIN).SetRange(-180, 180);
        SpinAt(IDC_EDITOR_ANGLE_SPIN).SetPosition(angle);
        EditAt(IDC_EDITOR_ANGLE).SetText(Decimal(angle));
    }

    void ShowColors() const {
        const ComboBox colors = ComboAt(IDC_EDITOR_COLOR);
        for (const ColorChoice& color : Colors) {
            colors.AddWithData(LoadText(color.Name), static_cast<intptr_t>(color.Value));
        }
        int32_t selected = 0;
        for (int32_t i = 0; i < colors.Count(); ++i) {
            if (static_cast<COLORREF>(colors.ItemData(i)) == edited_.Color) {
                selected = i;
                break;
            }
        }
        colors.Select(selected);
    }

    void ShowFonts() const {
        const ComboBox fonts = ComboAt(IDC_EDITOR_FONT);
        const std::u16string driver = DeviceDriverName(printer_);
        if (const HDC dc = CreateDCW(driver.c_str(), printerName_.c_str(), nullptr, nullptr)) {
            LOGFONTW wanted{};
            wanted.lfCharSet = DEFAULT_CHARSET;
            EnumFontFamiliesExW(dc, &wanted, &AddFace, reinterpret_cast<LPARAM>(&fonts), 0);
            DeleteDC(dc);
        }
        const int32_t found = fonts.FindExact(TextOf(edited_.FontFace));
        fonts.Select(found >= 0 ? found : (fonts.Count() > 0 ? 0 : -1));
    }

    settings::WatermarkSpec ReadEditorControls() const {
        settings::WatermarkSpec record{};
        settings::ApplyWatermarkDefaults(&record);
        CopyInto(record.Name,
                 WithoutTrailingSpaces(EditAt(IDC_EDITOR_NAME).Text().substr(0, TextCharacters)));
        CopyInto(record.Text, EditAt(IDC_EDITOR_TEXT).Text().substr(0, TextCharacters));
        record.Effects = (ButtonAt(IDC_EDITOR_STRIKEOUT).IsChecked() ? 1 : 0) |
                         (ButtonAt(IDC_EDITOR_UNDERLINE).IsChecked() ? 2 : 0) |
                         (ButtonAt(IDC_EDITOR_OUTLINE).IsChecked() ? 4 : 0);
        record.Dynamic = ButtonAt(IDC_EDITOR_DYNAMIC).IsChecked() ? 1 : 0;
        const bool bold = ButtonAt(IDC_EDITOR_BOLD).IsChecked();
        const bool italic = ButtonAt(IDC_EDITOR_ITALIC).IsChecked();
        record.FontStyle = bold ? (italic ? 3 : 2) : (italic ? 1 : 0);
        record.Angle = LeadingNumber(EditAt(IDC_EDITOR_ANGLE).Text().substr(0, 4));
        record.Intensity =
            static_cast<uint16_t>(LeadingNumber(EditAt(IDC_EDITOR_INTENSITY).Text().substr(0, 4)));
        const ComboBox colors = ComboAt(IDC_EDITOR_COLOR);
        record.Color = colors.Selection() >= 0
                           ? static_cast<COLORREF>(colors.ItemData(colors.Selection()))
                           : 0;
        const ComboBox sizes = ComboAt(IDC_EDITOR_SIZE);
        record.FontSize = sizes.Selection() >= 0
                              ? static_cast<int32_t>(sizes.ItemData(sizes.Selection()))
                              : LeadingNumber(sizes.Text().substr(0, 9));
        const ComboBox fonts = ComboAt(IDC_EDITOR_FONT);
        // With nothing chosen (no font offered) the entry keeps its face.
        const std::u16string face =
            fonts.Selection() >= 0 ? fonts.SelectedText() : TextOf(edited_.FontFace);
        if (face.size() < std::size(record.FontFace)) {
            CopyInto(record.FontFace, face);
        }
        record.Position = placement_.Position;
        record.UnitsInches = placement_.Inches ? 1 : 0;
        record.OffsetHorizontal = placement_.Horizontal;
        record.OffsetVertical = placement_.Vertical;
        return record;
    }

    bool OnCommand(int32_t id, uint16_t code) override {
        if (quiet_) {
            return false;
        }
        switch (id) {
            case IDC_EDITOR_NAME:
            case IDC_EDITOR_TEXT:
                if (code == EN_CHANGE) {
                    UpdateOkButton();
                    Refresh();
                }
                return code == EN_CHANGE;
            case IDC_EDITOR_INTENSITY:
                return code == EN_CHANGE && IntensityEdited();
            case IDC_EDITOR_ANGLE:
                return code == EN_CHANGE && AngleEdited();
            case IDC_EDITOR_SIZE:
                if (code == CBN_EDITCHANGE) {
                    return SizeEdited();
                }
                [[fallthrough]];
            case IDC_EDITOR_FONT:
            case IDC_EDITOR_COLOR:
                if (code == CBN_SELCHANGE) {
                    Refresh();
                }
                return code == CBN_SELCHANGE;
            default:
                break;
        }
        if (code != BN_CLICKED) {
            return false;
        }
        switch (id) {
            case IDOK:
                Save();
                return true;
            case IDCANCEL:
                End(IDCANCEL);
                return true;
            case IDC_EDITOR_DYNAMIC:
                ButtonAt(IDC_EDITOR_VARIABLES).Enable(ButtonAt(IDC_EDITOR_DYNAMIC).IsChecked());
                Refresh();
                return true;
            case IDC_EDITOR_VARIABLES: {
                // The picker composes on a copy of the text; the text field gets the copy back
                // whether the picker ended with OK or not.
                const Edit text = EditAt(IDC_EDITOR_TEXT);
                std::u16string composed = text.Text().substr(0, DynamicTextLimit);
                RunDynamicVariablePicker(Window(), composed);
                text.SetText(composed);
                Refresh();
                return true;
            }
            case IDC_EDITOR_PLACEMENT:
                Place();
                return true;
            default:
                Refresh();  // a style or effect check box
                return true;
        }
    }

    void Refresh() const { InvalidatePreview(Window()); }

    // The colour list's items: a swatch of the colour and its name.
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
        if (item.CtlID != IDC_EDITOR_COLOR || item.itemID == static_cast<uint32_t>(-1)) {
            return false;
        }
        const HDC dc = item.hDC;
        const bool focused = (item.itemState & ODS_FOCUS) != 0;
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        const COLORREF background =
            GetSysColor(focused || selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        const COLORREF foreground = GetSysColor(
            focused ? COLOR_WINDOW : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        if (const HBRUSH fill = CreateSolidBrush(background)) {
            FillRect(dc, &item.rcItem, fill);
            DeleteObject(fill);
        }
        const RECT& r = item.rcItem;
        if (const HBRUSH swatch = CreateSolidBrush(static_cast<COLORREF>(item.itemData))) {
            const HGDIOBJ old = SelectObject(dc, swatch);
            Rectangle(dc, r.left + 2, r.top + 2, r.left + 18, r.bottom - 2);
            const RECT inner{r.left + 3, r.top + 3, r.left + 17, r.bottom - 3};
            FillRect(dc, &inner, swatch);
            if (old != nullptr) {
                SelectObject(dc, old);
            }
            DeleteObject(swatch);
        }
        const std::u16string name =
            ComboAt(IDC_EDITOR_COLOR).ItemText(static_cast<int32_t>(item.itemID));
        RECT text{r.left + 28, r.top, r.right + 28, r.bottom};
        SetBkColor(dc, background);
        SetTextColor(dc, foreground);
        DrawTextW(dc, name.c_str(), static_cast<int32_t>(name.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return true;
    }

    void UpdateOkButton() const {
        const bool filled =
            !IsBlank(EditAt(IDC_EDITOR_NAME).Text()) && !IsBlank(EditAt(IDC_EDITOR_TEXT).Text());
        ButtonAt(IDOK).Enable(filled);
    }

    // Puts back the last accepted value; the change that causes is the dialog's own.
    void Restore(const Control& control, std::u16string_view text) {
        const bool outer = std::exchange(quiet_, true);
        control.SetText(text);
        quiet_ = outer;
    }

    bool IntensityEdited() {
        const std::u16string text = EditAt(IDC_EDITOR_INTENSITY).Text();
        const int32_t value = LeadingNumber(text.substr(0, 4));
        if (AllDigits(text) && value >= 1 && value <= 100) {
            lastIntensity_ = static_cast<uint16_t>(value);
            Refresh();
        } else {
            Restore(EditAt(IDC_EDITOR_INTENSITY), Decimal(lastIntensity_));
        }
        return true;
    }

    bool AngleEdited() {
        const std::u16string text = EditAt(IDC_EDITOR_ANGLE).Text();
        const std::u16string_view digits =
            !text.empty() && text[0] == u'-' ? std::u16string_view(text).substr(1) : text;
        const int32_t value = LeadingNumber(text);
        if (AllDigits(digits) && value >= -180 && value <= 180) {
            lastAngle_ = value;
            Refresh();
        } else {
            Restore(EditAt(IDC_EDITOR_ANGLE), Decimal(watermark::RoundHalfAway(lastAngle_)));
        }
        return true;
    }

    bool SizeEdited() {
        const ComboBox sizes = ComboAt(IDC_EDITOR_SIZE);
        const std::u16string text = sizes.Text().substr(0, 4);
        const int32_t value = LeadingNumber(text);
        if (AllDigits(text) && value >= 1 && value <= LargestTypedSize) {
            lastFontSize_ = value;
            Refresh();
        } else {
            Restore(sizes, Decimal(lastFontSize_));
        }
        return true;
    }

    void Place() {
        WatermarkPlacement placement;
        if (RunWatermarkPlacement(Window(), ReadEditorControls(), printer_, placement)) {
            placement_ = placement;
        }
        Refresh();
    }

    void Refuse(uint32_t message, int32_t focus) const {
        ShowMessage(LoadText(message).c_str(), MB_OK | MB_ICONERROR);
        SetFocus(Item(focus));
    }

    void Save() {
        const std::u16string name =
            WithoutTrailingSpaces(EditAt(IDC_EDITOR_NAME).Text().substr(0, TextCharacters));
        if (adding_ || name != originalName_) {
            if (WatermarkExists(printer_, name)) {
                Refuse(IDS_MESSAGE_NAME_EXISTS, IDC_EDITOR_NAME);
                return;
            }
            if (name == LoadText(IDS_WATERMARK_NONE_NAME)) {
                Refuse(IDS_MESSAGE_NAME_RESERVED, IDC_EDITOR_NAME);
                return;
            }
        }
        const settings::WatermarkSpec record = ReadEditorControls();
        if (record.FontSize <= 0) {
            Refuse(IDS_MESSAGE_SIZE_NOT_POSITIVE, IDC_EDITOR_SIZE);
            return;
        }
        if (record.Dynamic != 0 && !CheckDynamicText(printer_, TextOf(record.Text).c_str())) {
            Refuse(IDS_MESSAGE_DYNAMIC_TEXT_INVALID, IDC_EDITOR_TEXT);
            return;
        }
        if (!SaveWatermark(printer_, record)) {
            ShowMessage(LoadText(IDS_MESSAGE_SAVE_FAILED).c_str(), MB_OK | MB_ICONERROR);
            return;
        }
        if (!adding_ && TextOf(record.Name) != originalName_) {
            DeleteWatermark(printer_, originalName_);
        }
        edited_ = record;
        End(IDOK);
    }

    HANDLE printer_;
    std::u16string printerName_;
    bool adding_;
    settings::WatermarkSpec edited_;
    std::u16string originalName_;
    int32_t lastFontSize_ = 72;
    uint16_t lastIntensity_ = 100;
    double lastAngle_ = 0;
    WatermarkPlacement placement_;
    bool quiet_ = false;  // the dialog is setting its own controls
};

}  // namespace

bool RunWatermarkEditor(HWND owner, SheetState* state, WatermarkEditorMode mode,
                        std::u16string& name) {
    if (state == nullptr || state->Params == nullptr) {
        return false;
    }
    settings::WatermarkSpec edited{};
    settings::ApplyWatermarkDefaults(&edited);
    const bool adding = mode == WatermarkEditorMode::Add;
    if (!adding && !ReadWatermark(state->Params->hPrinter, name, &edited)) {
        return false;
    }
    WatermarkEditor editor(state, adding, edited, adding ? std::u16string() : name);
    if (editor.Run(owner, reinterpret_cast<LPARAM>(state)) != IDOK) {
        return false;
    }
    name = TextOf(editor.Saved().Name);
    return true;
}

}  // namespace qv::ui
