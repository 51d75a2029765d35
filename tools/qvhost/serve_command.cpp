// qvhost serve ...: a printer's settings sheet in a web browser. The sheet runs on this thread,
// as the host's window system is single-threaded; the HTTP server's threads hand each request to
// it and wait. Every request must carry the run's random token, so other local users cannot
// drive the sheet.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <cairo.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "host/psdriver/printer_sheet.h"
#include "host/psdriver/record_text.h"
#include "host/system/utf.h"
#include "host/windows/input.h"
#include "host/windows/live_view.h"
#include "host/windows/property_sheet.h"
#include "host/windows/script.h"
#include "host/windows/window_manager.h"
#include "platform/windows.h"
#include "tools/qvhost/command.h"
#include "tools/qvhost/sheet_result.h"

namespace qvhost {

extern const char ServePage[];

namespace {

using namespace platform;

std::string RandomToken() {
    std::random_device random;
    std::string token;
    for (int i = 0; i < 8; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", random());
        token += part;
    }
    return token;
}

bool SameToken(const std::string& given, const std::string& token) {
    if (given.size() != token.size()) {
        return false;
    }
    unsigned char differ = 0;
    for (size_t i = 0; i < token.size(); ++i) {
        differ |= static_cast<unsigned char>(given[i] ^ token[i]);
    }
    return differ == 0;
}

// Requests handed from the server's threads to the sheet's thread, which runs them between
// messages as its modal loops ask for a person's next action.
class SheetThread {
  public:
    // Runs the work on the sheet's thread and waits for it; false when the sheet has ended.
    // Input changes the picture: its version goes up.
    bool Call(std::function<void()> work, bool input = false) {
        std::promise<bool> done;
        std::future<bool> result = done.get_future();
        {
            std::lock_guard lock(mutex_);
            if (ended_) {
                return false;
            }
            tasks_.push_back(Task{std::move(work), input, std::move(done)});
        }
        changed_.notify_all();
        return result.get();
    }

    // The sheet's next action: a request's work, or after a signal a step of closing it.
    std::optional<host::Action> Next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !tasks_.empty() || stopping_; });
        if (stopping_) {
            if (++closingSteps_ > 100) {
                return std::nullopt;  // a dialog that will not close: give up its loop
            }
            return host::Check(CloseFrontMost);
        }
        auto task = std::make_shared<Task>(std::move(tasks_.front()));
        tasks_.pop_front();
        return host::Check([this, task] {
            task->work();
            {
                std::lock_guard lock(mutex_);
                version_ += task->input ? 1 : 0;
            }
            changed_.notify_all();
            task->done.set_value(true);
        });
    }

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
    }
    bool Stopping() {
        std::lock_guard lock(mutex_);
        return stopping_;
    }

    // The sheet has closed: requests still waiting are answered as too late.
    void End() {
        std::deque<Task> left;
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
            ++version_;
            left.swap(tasks_);
        }
        for (Task& task : left) {
            task.done.set_value(false);
        }
        changed_.notify_all();
    }

    uint64_t Version() {
        std::lock_guard lock(mutex_);
        return version_;
    }

    // Waits until the picture may have changed since `seen` (or the sheet ended), at most a while.
    std::pair<uint64_t, bool> WaitForChange(uint64_t seen) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(20),
                          [&] { return version_ != seen || ended_; });
        return {version_, ended_};
    }

  private:
    struct Task {
        std::function<void()> work;
        bool input = false;
        std::promise<bool> done;
    };

    // Cancels what the front-most window is: the sheet, a dialog or a message box over it.
    static void CloseFrontMost() {
        host::WindowManager& manager = host::WindowManager::Instance();
        host::Window* front = manager.FrontMost();
        if (front == nullptr) {
            return;
        }
        if (host::PropertySheet* sheet = host::PropertySheet::Of(front)) {
            sheet->PressCancel();
        } else {
            manager.Send(front, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        manager.PaintPending();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    bool ended_ = false;
    int closingSteps_ = 0;
    uint64_t version_ = 1;
};

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

std::string Png(cairo_surface_t* surface) {
    std::string png;
    cairo_surface_write_to_png_stream(surface, AppendPng, &png);
    return png;
}

std::string WindowText(host::Window* window) {
    host::WindowManager& manager = host::WindowManager::Instance();
    std::u16string text(static_cast<size_t>(manager.Send(window, WM_GETTEXTLENGTH, 0, 0)) + 1,
                        u'\0');
    text.resize(static_cast<size_t>(
        manager.Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return host::ToUtf8(text);
}

// The keys the page names as the browser does, and the host's virtual keys for them.
std::optional<uint32_t> VirtualKey(const std::string& name) {
    static const std::map<std::string, uint32_t> Keys = {
        {"Backspace", VK_BACK}, {"Tab", VK_TAB},          {"Enter", VK_RETURN},
        {"Escape", VK_ESCAPE},  {"PageUp", VK_PRIOR},     {"PageDown", VK_NEXT},
        {"End", VK_END},        {"Home", VK_HOME},        {"ArrowLeft", VK_LEFT},
        {"ArrowUp", VK_UP},     {"ArrowRight", VK_RIGHT}, {"ArrowDown", VK_DOWN},
        {"Delete", VK_DELETE}};
    const auto found = Keys.find(name);
    if (found == Keys.end()) {
        return std::nullopt;
    }
    return found->second;
}

// One input event of the page: {"type": "pointer", "action": "down|up|move|dblclick", "x", "y"},
// {"type": "key", "key": NAME, "shift": bool} or {"type": "text", "text": TEXT}. Checked on
// the server's thread; the returned work runs on the sheet's. Null with `error` set when the
// event is malformed.
std::function<void()> InputWork(host::LiveView& view, const std::string& body, std::string& error) {
    const nlohmann::json event = nlohmann::json::parse(body, nullptr, false);
    if (!event.is_object() || !event.contains("type") || !event["type"].is_string()) {
        error = "the event is no JSON object with a \"type\"";
        return nullptr;
    }
    const std::string type = event["type"];
    if (type == "pointer") {
        static const std::map<std::string, host::PointerKind> Actions = {
            {"down", host::PointerKind::Press},
            {"up", host::PointerKind::Release},
            {"move", host::PointerKind::Move},
            {"dblclick", host::PointerKind::DoublePress}};
        const auto action = Actions.find(event.value("action", ""));
        const auto x = event.find("x");
        const auto y = event.find("y");
        if (action == Actions.end() || x == event.end() || y == event.end() ||
            !x->is_number_integer() || !y->is_number_integer() || x->get<int64_t>() < 0 ||
            y->get<int64_t>() < 0 || x->get<int64_t>() > 0xFFFF || y->get<int64_t>() > 0xFFFF) {
            error = "a pointer event needs an action (down, up, move, dblclick) and x, y";
            return nullptr;
        }
        const auto kind = action->second;
        const auto px = x->get<int32_t>();
        const auto py = y->get<int32_t>();
        return [&view, kind, px, py] { view.Pointer(kind, px, py); };
    }
    if (type == "key") {
        const auto name = event.find("key");
        const std::optional<uint32_t> key =
            name != event.end() && name->is_string() ? VirtualKey(*name) : std::nullopt;
        if (!key) {
            error = "a key event needs a key the sheet takes";
            return nullptr;
        }
        const bool shift = event.value("shift", false);
        return [&view, key, shift] { view.Key(*key, shift); };
    }
    if (type == "text") {
        const auto text = event.find("text");
        std::optional<std::u16string> typed;
        if (text != event.end() && text->is_string()) {
            typed = host::FromUtf8(text->get<std::string>());
        }
        if (!typed) {
            error = "a text event needs a UTF-8 text";
            return nullptr;
        }
        return [&view, typed] { view.Type(*typed); };
    }
    error = "unknown event type \"" + type + "\"";
    return nullptr;
}

struct ServeRun {
    host::SheetRequest request;
    host::SheetOutcome outcome;
    std::string openError;
    bool opened = false;
    std::string token;
    SheetThread sheet;
    host::LiveView view;
};

// The result so far, with what a person's view needs: the picture's version and the focused
// control with its text.
std::string StateJson(ServeRun& run) {
    std::string json = SheetResultJson(run.request, run.outcome, "open");
    std::string extra = "  \"version\": " + std::to_string(run.sheet.Version()) + ",\n";
    if (host::Window* focus = host::WindowManager::Instance().Focus()) {
        extra += "  \"focus\": {\"id\": " + std::to_string(focus->Id) +
                 ", \"text\": " + host::JsonString(WindowText(focus)) + "},\n";
    }
    return json.insert(2, extra);
}

void Route(httplib::Server& server, ServeRun& run) {
    server.set_pre_routing_handler(
        [&run](const httplib::Request& request, httplib::Response& response) {
            if (!SameToken(request.get_param_value("token"), run.token)) {
                response.status = 403;
                response.set_content("forbidden\n", "text/plain");
                return httplib::Server::HandlerResponse::Handled;
            }
            response.set_header("Cache-Control", "no-store");
            return httplib::Server::HandlerResponse::Unhandled;
        });
    const auto gone = [](httplib::Response& response) {
        response.status = 410;
        response.set_content("the sheet is closed\n", "text/plain");
    };
    server.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(ServePage, "text/html; charset=utf-8");
    });
    server.Get("/frame.png", [&run, gone](const httplib::Request&, httplib::Response& response) {
        std::string png;
        uint64_t version = 0;
        if (!run.sheet.Call([&] {
                version = run.sheet.Version();
                if (std::unique_ptr<host::ImageDC> picture = run.view.Draw()) {
                    png = Png(picture->Surface());
                }
            })) {
            return gone(response);
        }
        if (png.empty()) {
            response.status = 404;
            return;
        }
        response.set_header("X-Frame-Version", std::to_string(version));
        response.set_content(png, "image/png");
    });
    server.Post(
        "/input", [&run, gone](const httplib::Request& request, httplib::Response& response) {
            std::string error;
            std::function<void()> work = InputWork(run.view, request.body, error);
            if (!work) {
                response.status = 400;
                response.set_content(error + "\n", "text/plain");
                return;
            }
            if (!run.sheet.Call(std::move(work), true)) {
                return gone(response);
            }
            response.set_content("{\"version\": " + std::to_string(run.sheet.Version()) + "}\n",
                                 "application/json");
        });
    server.Get("/state", [&run, gone](const httplib::Request&, httplib::Response& response) {
        std::string json;
        if (!run.sheet.Call([&] { json = StateJson(run); })) {
            return gone(response);
        }
        response.set_content(json, "application/json; charset=utf-8");
    });
    server.Get("/events", [&run](const httplib::Request& request, httplib::Response& response) {
        uint64_t seen = 0;
        try {
            seen = std::stoull(request.get_param_value("since"));
        } catch (const std::exception&) {
        }
        const auto [version, ended] = run.sheet.WaitForChange(seen);
        response.set_content("{\"version\": " + std::to_string(version) +
                                 ", \"ended\": " + (ended ? "true" : "false") + "}\n",
                             "application/json");
    });
}

int Serve(Session& session, Arguments& arguments) {
    auto run = std::make_unique<ServeRun>();
    run->request.Kind =
        arguments.Flag("device") ? host::SheetKind::Device : host::SheetKind::Document;
    std::optional<std::string> port;
    std::optional<std::string> bind;
    std::optional<std::string> resultFile;
    std::vector<std::string> names;
    std::string error;
    if (!arguments.Option("port", port, error) || !arguments.Option("bind", bind, error) ||
        !arguments.Option("result", resultFile, error) ||
        !arguments.Positional(1, 1, names, error)) {
        return WrongUse(session, error);
    }
    int portNumber = 0;
    if (port) {
        size_t used = 0;
        try {
            portNumber = std::stoi(*port, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != port->size() || portNumber < 0 || portNumber > 65535) {
            return WrongUse(session,
                            "--port needs a number from 0 to 65535, not \"" + *port + "\"");
        }
    }
    const std::string address = bind.value_or("127.0.0.1");
    const auto name = host::FromUtf8(names[0]);
    if (!name) {
        return Fail("the printer name is not UTF-8");
    }
    run->request.Printer = *name;
    if (!session.OpenMachine(error)) {
        return Fail(error);
    }
    RegisterHelpControl();

    // The signals wait for a thread of their own; every thread started from here blocks them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::atomic<bool> finished = false;
    std::thread signalWaiter([&] {
        int signal = 0;
        while (sigwait(&signals, &signal) == 0 && !finished) {
            run->sheet.Stop();
        }
    });

    run->token = RandomToken();
    httplib::Server server;
    Route(server, *run);
    const int bound = portNumber == 0
                          ? server.bind_to_any_port(address)
                          : (server.bind_to_port(address, portNumber) ? portNumber : -1);
    std::thread listener;
    if (bound > 0) {
        listener = std::thread([&server] { server.listen_after_bind(); });
    }
    const auto finish = [&] {
        finished = true;
        pthread_kill(signalWaiter.native_handle(), SIGTERM);
        signalWaiter.join();
        server.stop();
        if (listener.joinable()) {
            listener.join();
        }
        pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    };
    if (bound <= 0) {
        finish();
        return Fail("cannot listen on " + address + (port ? " port " + *port : ""));
    }
    std::printf("http://%s:%d/?token=%s\n", address.c_str(), bound, run->token.c_str());
    std::fflush(stdout);

    auto previous = host::Input::Current().SetLiveSource([&run] { return run->sheet.Next(); });
    host::Action open = host::Check([&run] {
        run->opened = host::RunPrinterSheet(run->request, run->outcome, run->openError);
    });
    const std::optional<host::InputFailure> failure = host::Input::Current().Run({open});
    host::Input::Current().SetLiveSource(std::move(previous));
    run->sheet.End();
    finish();
    if (!run->openError.empty()) {
        return Fail(run->openError);
    }
    if (!run->opened) {
        return Fail("the sheet could not be shown");
    }
    if (failure && !run->sheet.Stopping()) {
        return Fail("the sheet " + host::FormatFailure(*failure));
    }
    const std::string ended = run->outcome.Result == 1 ? "ok" : "cancel";
    if (resultFile) {
        std::ofstream out(*resultFile, std::ios::binary);
        out << SheetResultJson(run->request, run->outcome, ended);
        if (!out) {
            return Fail("cannot write " + *resultFile);
        }
    }
    std::fprintf(stderr, "ended: %s\n", ended.c_str());
    return 0;
}

const Command Commands[] = {
    {"serve", "PRINTER [--device] [--port N] [--bind ADDRESS] [--result FILE]",
     "Shows a printer's settings sheet in a web browser, for a person's mouse and keyboard.",
     "  PRINTER          the printer\n"
     "  --device         the device settings sheet (default: the document settings sheet)\n"
     "  --port N         the port to listen on (default 0: a free one)\n"
     "  --bind ADDRESS   the address to listen on (default 127.0.0.1)\n"
     "  --result FILE    at the end, the JSON result as \"qvhost sheet\" writes it\n"
     "Prints one line, http://ADDRESS:PORT/?token=TOKEN, when it is ready: open it in a\n"
     "browser. Every request without the run's random token is refused (403). Runs until the\n"
     "sheet is closed (OK, Cancel) or SIGINT or SIGTERM cancels it, then prints \"ended: ok\"\n"
     "or \"ended: cancel\" on standard error and exits 0.\n"
     "Requests: GET / (the page), GET /frame.png (the windows at 96 dpi), POST /input (one\n"
     "JSON event: {\"type\":\"pointer\",\"action\":\"down|up|move|dblclick\",\"x\":X,\"y\":Y},\n"
     "{\"type\":\"key\",\"key\":NAME,\"shift\":BOOL} with the browser's key names, or\n"
     "{\"type\":\"text\",\"text\":TEXT}; answers {\"version\":N}), GET /state (the result so\n"
     "far with \"version\" and the \"focus\"ed control's id and text), GET /events?since=N\n"
     "(waits until the picture's version differs from N; answers {\"version\",\"ended\"}).\n",
     Serve},
};

}  // namespace

std::span<const Command> ServeCommands() {
    return Commands;
}

}  // namespace qvhost
