#include "ui/watermarks/watermark_placement.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/controls.h"
#include "platform/windows.h"
#include "settings/module_instance.h"
#include "ui/core/modal_dialog.h"
#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"
#include "ui/watermarks/watermark_preview.h"

namespace qv::ui {

using namespace platform;

namespace {

constexpr double MillimetresPerInch = 25.4;
constexpr double LimitInches = 9999.9;
constexpr size_t OffsetCharacters = 10;

constexpr std::array<int32_t, 3> VerticalRadios = {IDC_PLACEMENT_TOP, IDC_PLACEMENT_MIDDLE,
                                                   IDC_PLACEMENT_BOTTOM};
constexpr std::array<int32_t, 3> HorizontalRadios = {IDC_PLACEMENT_LEFT, IDC_PLACEMENT_CENTRE,
                                                     IDC_PLACEMENT_RIGHT};
// Position by [vertical][horizontal] anchor.
constexpr uint32_t Positions[3][3] = {{2, 5, 7}, {3, 0, 8}, {1, 4, 6}};

struct Anchor {
    size_t Vertical;
    size_t Horizontal;
};

Anchor AnchorOf(uint32_t position) {
    for (size_t v = 0; v < 3; ++v) {
        for (size_t h = 0; h < 3; ++h) {
            if (Positions[v][h] == position) {
                return Anchor{v, h};
            }
        }
    }
    return Anchor{1, 1};  // above 8 counts as centre, as the preview draws it
}

// One offset field with its up-down control and its last accepted value.
struct OffsetField {
    int32_t Edit;
    int32_t Spin;
    double Last = 0;
};

class PlacementDialog final : public ModalDialog {
  public:
    PlacementDialog(const settings::WatermarkSpec& watermark, HANDLE printer)
        : ModalDialog(settings::ModuleInstance, IDD_WATERMARK_PLACEMENT),
          watermark_(watermark),
          printer_(printer) {}

    const WatermarkPlacement& Placement() const { return placement_; }

  private:
    bool OnInit() override {
        SelectAnchor(AnchorOf(watermark_.Position));
        vertical_.Last = watermark_.OffsetVertical;
        horizontal_.Last = watermark_.OffsetHorizontal;
        millimetres_ = watermark_.UnitsInches == 0;
        ButtonAt(millimetres_ ? IDC_PLACEMENT_MILLIMETRES : IDC_PLACEMENT_INCHES).SetChecked(true);
        for (OffsetField* field : {&vertical_, &horizontal_}) {
            EditAt(field->Edit).SetLimit(OffsetCharacters);
            Show(*field, field->Last);
        }
        InstallWatermarkPreview(Item(IDC_WATERMARK_PREVIEW), watermark_, printer_,
                                [this](settings::WatermarkSpec& record) {
                                    const std::optional<WatermarkPlacement> placement =
                                        ReadPlacement(false);
                                    if (!placement) {
                                        return false;
                                    }
                                    Apply(*placement, record);
                                    return true;
                                });
        return true;
    }

    bool OnCommand(int32_t id, uint16_t code) override {
        if (code == EN_CHANGE && (id == vertical_.Edit || id == horizontal_.Edit)) {
            OffsetEdited(id == vertical_.Edit ? vertical_ : horizontal_);
            return true;
        }
        if (code != BN_CLICKED) {
            return false;
        }
        switch (id) {
            case IDOK:
                if (const std::optional<WatermarkPlacement> placement = ReadPlacement(true)) {
                    placement_ = *placement;
                    End(IDOK);
                }
                return true;
            case IDCANCEL:
                End(IDCANCEL);
                return true;
            case IDC_PLACEMENT_INCHES:
            case IDC_PLACEMENT_MILLIMETRES:
                SwitchUnit(id == IDC_PLACEMENT_MILLIMETRES);
                return true;
            case IDC_PLACEMENT_CENTRE_WATERMARK:
                Show(vertical_, 0);
                Show(horizontal_, 0);
                SelectAnchor(Anchor{1, 1});
                InvalidatePreview(Window());
                return true;
            default:
                InvalidatePreview(Window());  // an anchor
                return true;
        }
    }

    bool OnNotify(const NMHDR& header) override {
        if (header.code != UDN_DELTAPOS) {
            return false;
        }
        const auto id = static_cast<int32_t>(header.idFrom);
        if (id != vertical_.Spin && id != horizontal_.Spin) {
            return false;
        }
        OffsetField& field = id == vertical_.Spin ? vertical_ : horizontal_;
        const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
        if (const std::optional<double> value = ParseOffset(TextOf(field))) {
            const double step = millimetres_ ? 1.0 : 0.1;
            const double moved = change.iDelta < 0 ? *value + step : *value - step;
            if (OffsetInRange(moved, !millimetres_)) {
                Show(field, moved);
            }
        }
        InvalidatePreview(Window());
        SetResult(TRUE);  // the offset is ours to keep; the control's position plays no part
        return true;
    }

    std::u16string TextOf(const OffsetField& field) const {
        return EditAt(field.Edit).Text().substr(0, OffsetCharacters);
    }

    // Shows an accepted value; its own change notification is not a person's edit.
    void Show(OffsetField& field, double value) {
        field.Last = value;
        const bool outer = restoring_;
        restoring_ = true;
        EditAt(field.Edit).SetText(FormatOffset(value));
        restoring_ = outer;
    }

    void OffsetEdited(OffsetField& field) {
        if (restoring_) {
            return;
        }
        const std::optional<double> value = ParseOffset(TextOf(field));
        if (!value || !OffsetInRange(*value, !millimetres_)) {
            Show(field, field.Last);
            return;
        }
        field.Last = *value;
        InvalidatePreview(Window());
    }

    void SwitchUnit(bool toMillimetres) {
        if (toMillimetres == millimetres_) {
            return;
        }
        millimetres_ = toMillimetres;
        for (OffsetField* field : {&vertical_, &horizontal_}) {
            Show(*field, ConvertOffset(field->Last, !toMillimetres));
        }
        InvalidatePreview(Window());
    }

    void SelectAnchor(Anchor anchor) const {
        for (size_t i = 0; i < 3; ++i) {
            ButtonAt(VerticalRadios[i]).SetChecked(i == anchor.Vertical);
            ButtonAt(HorizontalRadios[i]).SetChecked(i == anchor.Horizontal);
        }
    }

    size_t CheckedOf(const std::array<int32_t, 3>& radios) const {
        for (size_t i = 0; i < radios.size(); ++i) {
            if (ButtonAt(radios[i]).IsChecked()) {
                return i;
            }
        }
        return 1;
    }

    // With `report`, each invalid offset shows its message and takes the focus.
    std::optional<WatermarkPlacement> ReadPlacement(bool report) const {
        WatermarkPlacement placement;
        placement.Inches = !ButtonAt(IDC_PLACEMENT_MILLIMETRES).IsChecked();
        bool valid = true;
        for (const OffsetField* field : {&vertical_, &horizontal_}) {
            const std::optional<double> value = ParseOffset(TextOf(*field));
            if (value) {
                (field == &vertical_ ? placement.Vertical : placement.Horizontal) = *value;
                continue;
            }
            valid = false;
            if (report) {
                ShowMessage(LoadText(IDS_MESSAGE_OFFSET_INVALID).c_str(), MB_OK | MB_ICONERROR);
                EditAt(field->Edit).Focus();
            }
        }
        placement.Position = Positions[CheckedOf(VerticalRadios)][CheckedOf(HorizontalRadios)];
        return valid ? std::optional(placement) : std::nullopt;
    }

    static void Apply(const WatermarkPlacement& placement, settings::WatermarkSpec& record) {
        record.OffsetVertical = placement.Vertical;
        record.OffsetHorizontal = placement.Horizontal;
        record.UnitsInches = placement.Inches ? 1 : 0;
        record.Position = placement.Position;
    }

    settings::WatermarkSpec watermark_;
    HANDLE printer_;
    WatermarkPlacement placement_;
    OffsetField vertical_{IDC_PLACEMENT_VERTICAL, IDC_PLACEMENT_VERTICAL_SPIN};
    OffsetField horizontal_{IDC_PLACEMENT_HORIZONTAL, IDC_PLACEMENT_HORIZONTAL_SPIN};
    bool millimetres_ = false;
    bool restoring_ = false;
};

}  // namespace

std::optional<double> ParseOffset(std::u16string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::string ascii;
    bool point = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'-' && i == 0) {
        } else if (c == u'.' && !point) {
            point = true;
        } else if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        ascii.push_back(static_cast<char>(c));
    }
    // Only digits, one point and a leading sign reach strtod, so the locale plays no part.
    return std::strtod(ascii.c_str(), nullptr);
}

bool OffsetInRange(double offset, bool inches) {
    const double limit = inches ? LimitInches : LimitInches * MillimetresPerInch;
    return std::isfinite(offset) && std::fabs(offset) <= limit;
}

std::u16string FormatOffset(double offset) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", offset);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

double ConvertOffset(double offset, bool toInches) {
    const auto shown = [](double value) { return ParseOffset(FormatOffset(value)).value_or(0); };
    double converted = shown(toInches ? offset / MillimetresPerInch : offset * MillimetresPerInch);
    if (!OffsetInRange(converted, toInches)) {
        converted = shown(converted > 0 ? converted - 0.1 : converted + 0.1);
    }
    return converted;
}

bool RunWatermarkPlacement(HWND owner, const settings::WatermarkSpec& watermark, HANDLE printer,
                           WatermarkPlacement& placement) {
    PlacementDialog dialog(watermark, printer);
    if (dialog.Run(owner, 0) != IDOK) {
        return false;
    }
    placement = dialog.Placement();
    return true;
}

}  // namespace qv::ui
