// Hosts the system's WebBrowser control inside a child window through OLE in-place
// activation, with our own site objects.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

namespace rt {

// Numbers of the browser view's events, raised from the component's notifications.
namespace browser_event {
inline constexpr int kBeforeNavigate = 0;     // a result of false cancels the navigation
inline constexpr int kNavigateComplete = 1;
inline constexpr int kDownloadBegin = 2;
inline constexpr int kProgressChange = 3;
inline constexpr int kDocumentComplete = 4;
inline constexpr int kReady = 5;
inline constexpr int kStatusTextChange = 6;
inline constexpr int kTitleChange = 7;
inline constexpr int kCommandStateChange = 8;
inline constexpr int kNewWindow = 9;          // a result of false cancels the new window
}  // namespace browser_event

struct BrowserSettings {
    int font_size = 2;  // held to 0..4 before it reaches the component
    bool offline = false;
    bool silent = false;
};

// Called for each notification of the component; a returned false cancels where the
// event allows it, anything else lets the component go on.
using BrowserEventSink = std::optional<bool> (*)(void* context, int event);

class BrowserHost {
public:
    // Creates the WebBrowser control as a visible child filling `view`'s client area and
    // hands it the settings. Returns null when the control cannot be created or gives no
    // IWebBrowser2; nothing is left behind then.
    static std::unique_ptr<BrowserHost> create(HWND view, const BrowserSettings& settings,
                                               BrowserEventSink sink, void* sink_context);
    ~BrowserHost();  // deactivates, disconnects and releases the component

    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    // Starts loading `url`; returns before the page has loaded. Errors are not reported.
    void navigate(const wchar_t* url);
    // Keeps the component sized to the view's client area.
    void resize(int width, int height);
    // Puts the keyboard focus into the component.
    void focus();
    // True when the keyboard focus is inside the component's windows.
    bool has_focus() const;
    // Offers a key message to the component; true when the component took it.
    bool translate_accelerator(MSG& msg);

private:
    BrowserHost();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace rt
