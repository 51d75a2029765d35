// Trackbars: range, line and page sizes, tick frequency and position; scroll notifications while
// the thumb moves and a release notification when a person lets go.
#include <algorithm>
#include <utility>

#include "host/windows/control_classes.h"

namespace host {

using namespace platform;

namespace {

class TrackbarState : public ControlState {
  public:
    int32_t Min = 0;
    int32_t Max = 100;
    int32_t Position = 0;
    int32_t Line = 1;
    int32_t Page = 20;
    int32_t TicFrequency = 1;
};

void Scroll(Window* window, uint16_t code, int32_t position) {
    if (window->Parent == nullptr) {
        return;
    }
    const bool carriesPosition = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
    WindowManager::Instance().Send(
        window->Parent, (window->Style & TBS_VERT) != 0 ? WM_VSCROLL : WM_HSCROLL,
        MAKEWPARAM(code, carriesPosition ? static_cast<uint16_t>(position) : 0),
        reinterpret_cast<LPARAM>(window->Handle));
}

void ReleasedCapture(Window* window) {
    if (window->Parent == nullptr) {
        return;
    }
    NMHDR header{window->Handle, static_cast<uintptr_t>(window->Id), NM_RELEASEDCAPTURE};
    WindowManager::Instance().Send(window->Parent, WM_NOTIFY, static_cast<WPARAM>(window->Id),
                                   reinterpret_cast<LPARAM>(&header));
}

void Clamp(TrackbarState& state) {
    state.Position = std::clamp(state.Position, state.Min, std::max(state.Min, state.Max));
}

// A person drags the thumb to `position` and releases it.
void Slide(Window* window, TrackbarState& state, int32_t position) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    manager.SetFocus(window);
    state.Position = position;
    Clamp(state);
    window->Invalid = true;
    const int32_t now = state.Position;
    for (uint16_t code : {TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK}) {
        if ((window = manager.Find(handle)) == nullptr) {
            return;
        }
        Scroll(window, code, now);
    }
    if ((window = manager.Find(handle)) != nullptr) {
        ReleasedCapture(window);
    }
}

void Key(Window* window, TrackbarState& state, uint32_t key) {
    struct Move {
        uint32_t Key;
        uint16_t Code;
    };
    static constexpr Move Moves[] = {{VK_LEFT, TB_LINEUP},    {VK_UP, TB_LINEUP},
                                     {VK_RIGHT, TB_LINEDOWN}, {VK_DOWN, TB_LINEDOWN},
                                     {VK_PRIOR, TB_PAGEUP},   {VK_NEXT, TB_PAGEDOWN},
                                     {VK_HOME, TB_TOP},       {VK_END, TB_BOTTOM}};
    for (const Move& move : Moves) {
        if (move.Key != key) {
            continue;
        }
        switch (move.Code) {
            case TB_LINEUP:
                state.Position -= state.Line;
                break;
            case TB_LINEDOWN:
                state.Position += state.Line;
                break;
            case TB_PAGEUP:
                state.Position -= state.Page;
                break;
            case TB_PAGEDOWN:
                state.Position += state.Page;
                break;
            case TB_TOP:
                state.Position = state.Min;
                break;
            default:
                state.Position = state.Max;
                break;
        }
        Clamp(state);
        window->Invalid = true;
        Scroll(window, move.Code, state.Position);
        return;
    }
}

LRESULT SetRangePart(Window* window, TrackbarState& state, int32_t min, int32_t max) {
    state.Min = min;
    state.Max = max;
    Clamp(state);
    window->Invalid = true;
    return 0;
}

LRESULT HandleMessage(Window* window, TrackbarState* state, uint32_t message, WPARAM wparam,
                      LPARAM lparam) {
    WindowManager& manager = WindowManager::Instance();
    const HWND handle = window->Handle;
    const auto value = static_cast<int32_t>(lparam);
    switch (message) {
        case TBM_GETPOS:
            return state->Position;
        case TBM_GETRANGEMIN:
            return state->Min;
        case TBM_GETRANGEMAX:
            return state->Max;
        case TBM_SETPOS:
            state->Position = value;
            Clamp(*state);
            window->Invalid = true;
            return 0;
        case TBM_SETRANGE:
            return SetRangePart(window, *state,
                                static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lparam))),
                                static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lparam))));
        case TBM_SETRANGEMIN:
            return SetRangePart(window, *state, value, state->Max);
        case TBM_SETRANGEMAX:
            return SetRangePart(window, *state, state->Min, value);
        case TBM_SETTICFREQ:
            state->TicFrequency = static_cast<int32_t>(wparam);
            window->Invalid = true;
            return 0;
        case TBM_GETTICFREQ:
            return state->TicFrequency;
        case TBM_SETPAGESIZE:
            return std::exchange(state->Page, value);
        case TBM_GETPAGESIZE:
            return state->Page;
        case TBM_SETLINESIZE:
            return std::exchange(state->Line, value);
        case TBM_GETLINESIZE:
            return state->Line;
        case QVM_SLIDE:
            Slide(window, *state, static_cast<int32_t>(static_cast<intptr_t>(wparam)));
            return 0;
        case WM_LBUTTONDOWN:
            manager.SetFocus(window);
            return 0;
        case WM_KEYDOWN:
            Key(window, *state, static_cast<uint32_t>(wparam));
            return 0;
        case WM_KEYUP:
            if (wparam != VK_TAB) {
                Scroll(window, TB_ENDTRACK, state->Position);
            }
            return 0;
        default:
            return DefaultWindowProcedure(handle, message, wparam, lparam);
    }
}

}  // namespace

WindowClass TrackbarClass() {
    return ControlClass<TrackbarState, HandleMessage>();
}

}  // namespace host
