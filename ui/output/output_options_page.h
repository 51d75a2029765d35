// The output options page (dialog 128, "输出选项"): where the job goes, the held-job user name,
// PIN and keep-duplicates box, and for fax jobs the recipient, number, station, resolution and
// cover page. It fills from the working copy and the user's remembered values, validates when
// left, and stores into the working copy when left and into the host's record when applied.
#pragma once

#include <cstdint>
#include <string>

#include "settings/plugin_devmode.h"
#include "ui/core/property_page.h"
#include "ui/core/sheet_state.h"
#include "ui/output/output_destinations.h"

namespace qv::ui {

class OutputOptionsPage final : public PropertyPage {
  protected:
    bool OnInit() override;
    bool OnCommand(int32_t id, uint16_t code) override;
    void OnSetActive() override;
    bool OnKillActive() override;
    platform::LRESULT OnApply(bool closing) override;
    void OnHelp() override;

  private:
    SheetState* State() const { return reinterpret_cast<SheetState*>(Param()); }
    settings::PluginDevmode* HostRecord() const;
    platform::HANDLE Printer() const { return State()->Params->hPrinter; }

    void Fill(bool initial);
    void AddDestinations() const;
    void SelectDestination() const;
    void FillFax(bool initial) const;
    void FillHeldJobFields() const;
    std::u16string UserNameShown() const;

    uint32_t SelectedDestination() const;
    void EnableFaxGroup(bool fax, bool sendCover) const;
    void EnableHeldJobFields(const DestinationGates& gates) const;
    void ShowFaxGroup(bool show) const;
    void DestinationChanged() const;
    void OpenCoverDialog() const;

    bool Validate() const;
    bool Fail(uint32_t messageId, int32_t field) const;
    void Store(settings::PluginDevmode& target) const;

    bool ready_ = false;    // the sheet's state is complete and the page was filled
    bool filling_ = false;  // the page's own text changes are not the person's edits
    DestinationFeatures features_;
    bool keepFeature_ = false;
};

}  // namespace qv::ui
