// The About page of both sheets: the driver's title, the plug-in's version and the version of
// every file of the printer's driver; its Help button opens the printer's help.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/core/property_page.h"
#include "ui/core/sheet_state.h"

namespace qv::ui {

// One row of the file list: the file's name after its last backslash and its version ("N/A"
// without version information); nullopt for a file whose version information has no
// FileVersion string.
struct FileVersionRow {
    std::u16string Name;
    std::u16string Version;
};
std::optional<FileVersionRow> FileVersionOf(const std::u16string& path,
                                            const std::u16string& noVersion);

// The driver's files in the order the list takes them: configuration file, driver file, then
// the dependent files.
std::vector<std::u16string> DriverFiles(platform::HANDLE printer);

class AboutPage final : public PropertyPage {
  protected:
    bool OnInit() override;
    void OnSetActive() override;
    bool OnKillActive() override;
    void OnHelp() override;

  private:
    void FillFileList() const;
    void FillTitle() const;
    const SheetState* State() const { return reinterpret_cast<const SheetState*>(Param()); }
};

}  // namespace qv::ui
