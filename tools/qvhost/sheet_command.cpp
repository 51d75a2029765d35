// qvhost sheet ...: a printer's document or device settings sheet, driven by a script as a
// person would drive it, with the outcome as JSON.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "host/psdriver/printer_sheet.h"
#include "host/psdriver/record_text.h"
#include "host/system/registry_key.h"
#include "host/system/utf.h"
#include "host/windows/dialog_log.h"
#include "host/windows/help_viewer.h"
#include "host/windows/message_box.h"
#include "host/windows/property_sheet.h"
#include "host/windows/screenshot.h"
#include "host/windows/script.h"
#include "host/windows/window_manager.h"
#include "platform/help.h"
#include "tools/qvhost/command.h"
#include "tools/qvhost/settings_options.h"
#include "tools/qvhost/sheet_result.h"

namespace qvhost {

namespace {

using namespace platform;

std::string Utf8(const std::u16string& text) {
    return host::JsonString(host::ToUtf8(text));
}

const char* IconName(uint32_t type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return "error";
        case MB_ICONQUESTION:
            return "question";
        case MB_ICONWARNING:
            return "warning";
        case MB_ICONINFORMATION:
            return "information";
        default:
            return "none";
    }
}

const char* AnswerName(int32_t answer) {
    switch (answer) {
        case IDOK:
            return "ok";
        case IDCANCEL:
            return "cancel";
        case IDABORT:
            return "abort";
        case IDRETRY:
            return "retry";
        case IDIGNORE:
            return "ignore";
        case IDYES:
            return "yes";
        case IDNO:
            return "no";
        default:
            return "none";
    }
}

// How a modal dialog ended: "ok", "cancel" or the id it ended with.
std::string DialogEnding(intptr_t result) {
    return result == IDOK ? "ok" : result == IDCANCEL ? "cancel" : std::to_string(result);
}

host::PropertySheet* OpenSheet(host::Window** frameOut = nullptr) {
    for (host::Window* window : host::WindowManager::Instance().TopLevels()) {
        if (host::PropertySheet* sheet = host::PropertySheet::Of(window)) {
            if (frameOut != nullptr) {
                *frameOut = window;
            }
            return sheet;
        }
    }
    return nullptr;
}

std::optional<std::string> ReadScript(const std::string& source) {
    if (source == "-") {
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    }
    std::ifstream file(source, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

struct SheetRun {
    host::SheetRequest request;
    std::filesystem::path screenshots;
    host::SheetOutcome outcome;
    std::string openError;
    bool opened = false;
    bool cancelledAtEnd = false;
    std::set<int32_t> shownPages;
    std::string screenshotError;
};

// A picture of each page the first time it is the current one.
void ShootNewPage(SheetRun& run) {
    host::Window* frame = nullptr;
    host::PropertySheet* sheet = OpenSheet(&frame);
    if (sheet == nullptr || run.screenshots.empty() || sheet->Current() < 0 ||
        !run.shownPages.insert(sheet->Current()).second) {
        return;
    }
    const int32_t index = sheet->Current();
    const std::string name = "page-" + std::to_string(index + 1) + "-" +
                             host::ToUtf8(sheet->PageAt(index).Title) + ".png";
    std::string error;
    if (!host::WriteScreenshot(frame->Handle, run.screenshots / name, error) &&
        run.screenshotError.empty()) {
        run.screenshotError = error;
    }
}

std::string ResultJson(const SheetRun& run) {
    std::string ended = run.outcome.Result == 1 ? "ok" : "cancel";
    if (run.cancelledAtEnd) {
        ended = run.outcome.Result == 1 ? "script-end-after-apply" : "script-end";
    }
    return SheetResultJson(run.request, run.outcome, ended);
}

int Sheet(Session& session, Arguments& arguments) {
    SheetRun run;
    run.request.Kind =
        arguments.Flag("device") ? host::SheetKind::Device : host::SheetKind::Document;
    run.request.NoPermission = arguments.Flag("no-permission");
    SettingsOptions settings;
    std::optional<std::string> script;
    std::optional<std::string> screenshots;
    std::optional<std::string> resultFile;
    std::vector<std::string> names;
    std::string error;
    if (!arguments.Option("script", script, error) ||
        !arguments.Option("screenshots", screenshots, error) ||
        !arguments.Option("result", resultFile, error) ||
        !ReadSettingsOptions(arguments, settings, error) ||
        !arguments.Positional(1, 1, names, error) ||
        !BuildSettingsEdits(settings, run.request.Edits, error)) {
        return WrongUse(session, error);
    }
    const auto name = host::FromUtf8(names[0]);
    if (!name) {
        return Fail("the printer name is not UTF-8");
    }
    run.request.Printer = *name;
    std::string text;
    if (script) {
        const std::optional<std::string> read = ReadScript(*script);
        if (!read) {
            return Fail("cannot read the script " + *script);
        }
        text = *read;
    }
    host::InputFailure parseError;
    std::optional<std::vector<host::Action>> parsed = host::ParseScript(text, &parseError);
    if (!parsed) {
        return Fail("script " + host::FormatFailure(parseError));
    }
    if (screenshots) {
        run.screenshots = *screenshots;
        std::error_code made;
        std::filesystem::create_directories(run.screenshots, made);
        if (made) {
            return Fail("cannot make the folder " + *screenshots + ": " + made.message());
        }
    }
    if (!session.OpenMachine(error)) {
        return Fail(error);
    }
    RegisterHelpControl();

    std::vector<host::Action> actions;
    host::Action open = host::Check(
        [&run] { run.opened = host::RunPrinterSheet(run.request, run.outcome, run.openError); });
    open.Line = 1;
    actions.push_back(std::move(open));
    host::Action first = host::Check([&run] { ShootNewPage(run); });
    first.Line = 1;
    actions.push_back(std::move(first));
    int32_t lastLine = 1;
    for (host::Action& action : *parsed) {
        lastLine = action.Line;
        actions.push_back(std::move(action));
        host::Action shoot = host::Check([&run] { ShootNewPage(run); });
        shoot.Line = lastLine;
        actions.push_back(std::move(shoot));
    }
    host::Action end = host::Check([&run] {
        ShootNewPage(run);
        if (host::PropertySheet* sheet = OpenSheet()) {
            run.cancelledAtEnd = true;
            sheet->PressCancel();
        }
    });
    end.Line = lastLine;
    actions.push_back(std::move(end));
    host::ScriptOptions options;
    options.ScreenshotFolder = run.screenshots;
    const std::optional<host::InputFailure> failure = host::RunActions(std::move(actions), options);
    if (!run.openError.empty()) {
        return Fail(run.openError);
    }
    if (failure) {
        return Fail("script " + host::FormatFailure(*failure));
    }
    if (!run.screenshotError.empty()) {
        return Fail(run.screenshotError);
    }
    if (!run.opened) {
        return Fail("the sheet could not be shown");
    }
    const std::string json = ResultJson(run);
    if (resultFile) {
        std::ofstream out(*resultFile, std::ios::binary);
        out << json;
        if (!out) {
            return Fail("cannot write " + *resultFile);
        }
    } else {
        std::fwrite(json.data(), 1, json.size(), stdout);
    }
    return 0;
}

const Command Commands[] = {
    {"sheet",
     "PRINTER [--device] [--no-permission] [--set FIELD=VALUE]... [--devmode FIELD=VALUE]... "
     "[--option KEYWORD=CHOICE]... [--script FILE|-] [--screenshots DIR] [--result FILE]",
     "Opens a printer's settings sheet, runs a script of a person's input on it and closes it.",
     "  PRINTER          the printer\n"
     "  --device         the device settings sheet (default: the document settings sheet)\n"
     "  --no-permission  as for a user who may not change the settings: the plug-in's\n"
     "                   parameter blocks carry the no-permission flag, the host's items are\n"
     "                   read-only and nothing is kept (a device sheet of a user without the\n"
     "                   right to administer the printer always opens "
     "so)\n" QV_SETTINGS_OPTIONS_HELP
     "                   (these change the settings the sheet starts from, as if stored;\n"
     "                   nothing is kept unless the sheet is applied)\n"
     "  --script FILE    the input, one action per line (- reads standard input); without it\n"
     "                   the sheet opens and is cancelled\n"
     "  --screenshots DIR  a PNG of each page when first shown (page-N-TITLE.png) and one per\n"
     "                   \"screenshot NAME\" line (NAME.png)\n"
     "  --result FILE    the JSON result (default: standard output)\n"
     "Actions: page TITLE, click ID, type ID TEXT, settext ID TEXT, select ID TEXT|#N,\n"
     "toggle ID TEXT, doubleclick ID TEXT, slide ID POS, arrow ID up|down, key ID NAME,\n"
     "answer yes|no|ok|cancel, apply, ok, cancel, help, screenshot NAME,\n"
     "item NAME VALUE (on \"高级\": the item's row, then its choice; a NAME with spaces in\n"
     "double quotes, the VALUE the rest of the line),\n"
     "expect ID enabled|disabled|visible|hidden|checked|unchecked|focused|text=T|selected=T|\n"
     "items=A|B|C|count=N|pos=N, expect changed|unchanged (a page told the sheet of a change\n"
     "since it opened or since the last Apply), expect dialog=CAPTION|nodialog (the modal\n"
     "dialog open). In texts \\n is a line break, \\t a tab.\n"
     "IDs are control ids in decimal; while a modal dialog is open, actions go to it. A sheet\n"
     "still open at the end is cancelled. An action a person could not do, or an expect that\n"
     "does not hold, stops with the script line named and exit status 1.\n"
     "Result: \"printer\", \"sheet\" (document|device), \"ended\" (ok, cancel, script-end,\n"
     "script-end-after-apply), \"saved\", \"settingsChanged\" (the plug-in reported a change),\n"
     "\"pages\" (titles in order), \"messageBoxes\" ({text, caption, icon, answer} in order),\n"
     "\"help\" ({viewer, file}), \"dialogs\" ({caption, ended: ok, cancel or the id} of each\n"
     "modal dialog in order), \"errors\" (plug-in calls that failed, pages left out),\n"
     "\"public\" and \"plugin\" (the settings the host keeps: what was last applied, else what\n"
     "the sheet started from).\n",
     Sheet},
};

}  // namespace

void RegisterHelpControl() {
    host::RegistryKey key;
    if (host::RegistryKey::Create(HKEY_CLASSES_ROOT, HtmlHelpControlKey, KEY_ALL_ACCESS, key) ==
            ERROR_SUCCESS &&
        !key.GetString(u"")) {
        key.SetString(u"", u"C:\\Windows\\System32\\hhctrl.ocx");
    }
    host::InstallHelpControl();
}

std::string SheetResultJson(const host::SheetRequest& request, const host::SheetOutcome& outcome,
                            const std::string& ended) {
    std::string json =
        "{\n  \"printer\": " + Utf8(request.Printer) + ",\n  \"sheet\": \"" +
        (request.Kind == host::SheetKind::Document ? "document" : "device") +
        "\",\n  \"ended\": \"" + ended + "\",\n  \"saved\": " + (outcome.Saved ? "true" : "false") +
        ",\n  \"settingsChanged\": " + (outcome.PluginReportedChange ? "true" : "false") +
        ",\n  \"pages\": [";
    for (size_t i = 0; i < outcome.PageTitles.size(); ++i) {
        json += (i == 0 ? "" : ", ") + Utf8(outcome.PageTitles[i]);
    }
    json += "],\n  \"messageBoxes\": [";
    const auto& boxes = host::MessageBoxLog::Instance().Records();
    for (size_t i = 0; i < boxes.size(); ++i) {
        json += std::string(i == 0 ? "\n" : ",\n") + "    {\"text\": " + Utf8(boxes[i].Text) +
                ", \"caption\": " + Utf8(boxes[i].Caption) + ", \"icon\": \"" +
                IconName(boxes[i].Type) + "\", \"answer\": \"" + AnswerName(boxes[i].Answer) +
                "\"}";
    }
    json += boxes.empty() ? "],\n" : "\n  ],\n";
    json += "  \"help\": [";
    const auto& help = host::HelpLog();
    for (size_t i = 0; i < help.size(); ++i) {
        json += std::string(i == 0 ? "" : ", ") + "{\"viewer\": \"" +
                (help[i].Html ? "html" : "winhelp") + "\", \"file\": " + Utf8(help[i].File) + "}";
    }
    json += "],\n  \"dialogs\": [";
    const auto& dialogs = host::ModalDialogLog::Instance().Records();
    for (size_t i = 0; i < dialogs.size(); ++i) {
        json += std::string(i == 0 ? "" : ", ") + "{\"caption\": " + Utf8(dialogs[i].Caption) +
                ", \"ended\": \"" + DialogEnding(dialogs[i].Result) + "\"}";
    }
    json += "],\n  \"errors\": [";
    for (size_t i = 0; i < outcome.Errors.size(); ++i) {
        json += std::string(i == 0 ? "" : ", ") + host::JsonString(outcome.Errors[i]);
    }
    json += outcome.Settings ? "],\n" : "]\n";
    if (outcome.Settings) {
        json +=
            "  \"public\": " +
            host::NestedJson(host::PublicDevModeJson(outcome.Settings->Public())) +
            ",\n  \"plugin\": " + host::NestedJson(host::RecordJson(outcome.Settings->Plugin())) +
            "\n";
    }
    json += "}\n";
    return json;
}

std::span<const Command> SheetCommands() {
    return Commands;
}

}  // namespace qvhost
