// Hosts the WebBrowser control through plain OLE in-place activation. One reference-
// counted site object gives the control everything it asks its container for (client
// site, in-place site, frame) and also receives its DWebBrowserEvents2 notifications.
#include "runtime/browser_host.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ole2.h>
#include <oleidl.h>

#include "runtime/com_ptr.h"

namespace rt {
namespace {

// A VARIANT that clears itself, so BSTRs put into it are never leaked.
struct Variant {
    VARIANT v;
    Variant() { VariantInit(&v); }
    ~Variant() { VariantClear(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

int event_for(DISPID id) {
    switch (id) {
        case DISPID_BEFORENAVIGATE2: return browser_event::kBeforeNavigate;
        case DISPID_NAVIGATECOMPLETE2: return browser_event::kNavigateComplete;
        case DISPID_DOWNLOADBEGIN: return browser_event::kDownloadBegin;
        case DISPID_PROGRESSCHANGE: return browser_event::kProgressChange;
        case DISPID_DOCUMENTCOMPLETE: return browser_event::kDocumentComplete;
        case DISPID_DOWNLOADCOMPLETE: return browser_event::kReady;
        case DISPID_STATUSTEXTCHANGE: return browser_event::kStatusTextChange;
        case DISPID_TITLECHANGE: return browser_event::kTitleChange;
        case DISPID_COMMANDSTATECHANGE: return browser_event::kCommandStateChange;
        case DISPID_NEWWINDOW2:
        case DISPID_NEWWINDOW3: return browser_event::kNewWindow;
        default: return -1;
    }
}

// The Cancel argument of the events that have one. Arguments arrive last-first in
// rgvarg, so the position depends on the event's arity; the count and the type are
// checked so a component that sends a different shape is never written through.
VARIANT_BOOL* cancel_argument(DISPID id, const DISPPARAMS* params) {
    UINT arity = 0;
    UINT index = 0;
    switch (id) {
        case DISPID_BEFORENAVIGATE2: arity = 7; index = 0; break;  // (..., Headers, Cancel)
        case DISPID_NEWWINDOW2: arity = 2; index = 0; break;       // (ppDisp, Cancel)
        case DISPID_NEWWINDOW3: arity = 5; index = 3; break;       // (ppDisp, Cancel, flags, ctx, url)
        default: return nullptr;
    }
    if (!params || !params->rgvarg || params->cArgs != arity) return nullptr;
    VARIANT& arg = params->rgvarg[index];
    if (arg.vt != (VT_BOOL | VT_BYREF)) return nullptr;
    return arg.pboolVal;
}

RECT client_rect(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return rc;
}

class Site final : public IOleClientSite,
                   public IOleInPlaceSite,
                   public IOleInPlaceFrame,
                   public IDispatch {
public:
    Site(HWND view, BrowserEventSink sink, void* context)
        : view_(view), sink_(sink), context_(context) {}

    // The in-place object is borrowed, not owned: owning it here would make a cycle
    // with the control, which holds this site.
    void set_in_place_object(IOleInPlaceObject* object) { in_place_ = object; }
    // Cuts the site off from its host before teardown; late calls become no-ops.
    void detach() {
        sink_ = nullptr;
        in_place_ = nullptr;
    }
    bool ui_active() const { return ui_active_; }
    IOleClientSite* client_site() { return this; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
            *out = static_cast<IOleClientSite*>(this);
        } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
            *out = static_cast<IOleInPlaceSite*>(this);
        } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
            *out = static_cast<IOleInPlaceFrame*>(this);
        } else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) {
            *out = static_cast<IDispatch*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        if (out) *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = view_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override {
        ui_active_ = true;
        return S_OK;
    }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                  LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *doc = nullptr;  // no separate document window: the frame serves for both
        *pos = client_rect(view_);
        *clip = *pos;
        info->cb = sizeof(OLEINPLACEFRAMEINFO);
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(view_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override {
        ui_active_ = false;
        return S_OK;
    }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    // The control always fills the view, whatever size it asks for.
    STDMETHODIMP OnPosRectChange(LPCRECT) override {
        if (in_place_) {
            const RECT rc = client_rect(view_);
            in_place_->SetObjectRects(&rc, &rc);
        }
        return S_OK;
    }

    // IOleInPlaceUIWindow: the view has no toolbars to give away.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override {
        if (!widths) return S_OK;
        const bool none = widths->left == 0 && widths->top == 0 && widths->right == 0 &&
                          widths->bottom == 0;
        return none ? S_OK : INPLACE_E_NOTOOLSPACE;
    }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    // IOleInPlaceFrame: no menu merging, no status bar, no frame accelerators.
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch, as the DWebBrowserEvents2 sink. Events are dispatched by DISPID only, so
    // no type information is offered.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD, DISPPARAMS* params, VARIANT*,
                        EXCEPINFO*, UINT*) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        const int event = event_for(id);
        if (event < 0) return DISP_E_MEMBERNOTFOUND;
        if (!sink_) return S_OK;
        // The handler may destroy the host; keep this object alive until we are done.
        AddRef();
        const std::optional<bool> result = sink_(context_, event);
        if (result.has_value() && !*result) {
            if (VARIANT_BOOL* cancel = cancel_argument(id, params)) *cancel = VARIANT_TRUE;
        }
        Release();
        return S_OK;
    }

private:
    ~Site() = default;  // only Release deletes

    LONG refs_ = 1;
    HWND view_;
    BrowserEventSink sink_;
    void* context_;
    IOleInPlaceObject* in_place_ = nullptr;
    bool ui_active_ = false;
};

}  // namespace

struct BrowserHost::Impl {
    HWND view = nullptr;
    ComPtr<Site> site;
    ComPtr<IOleObject> object;
    ComPtr<IWebBrowser2> browser;
    ComPtr<IOleInPlaceObject> in_place;
    ComPtr<IConnectionPoint> events;
    DWORD cookie = 0;
    bool activated = false;

    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Teardown runs in this order, each step skipped when creation never got that far:
    //  1. unadvise the event sink and detach the site, so no event reaches a host that
    //     is half gone;
    //  2. UIDeactivate while UI-active, then InPlaceDeactivate, which destroys the
    //     control's windows (UI deactivation has to come first; in-place deactivation
    //     of a UI-active object would do it implicitly anyway);
    //  3. SetClientSite(nullptr), dropping the control's references to the site;
    //  4. Close(OLECLOSE_NOSAVE);
    //  5. release every pointer (ComPtr nulls each member before its Release, in case a
    //     release calls back in).
    // The view window belongs to the caller and stays.
    ~Impl() {
        if (events) {
            events->Unadvise(cookie);
            events.reset();
        }
        if (site) site->detach();
        if (in_place) {
            if (site && site->ui_active()) in_place->UIDeactivate();
            in_place->InPlaceDeactivate();
        }
        if (object) {
            if (site) object->SetClientSite(nullptr);
            object->Close(OLECLOSE_NOSAVE);
        }
        in_place.reset();
        browser.reset();
        object.reset();
        site.reset();
    }
};

BrowserHost::BrowserHost() : impl_(std::make_unique<Impl>()) {}
BrowserHost::~BrowserHost() = default;

std::unique_ptr<BrowserHost> BrowserHost::create(HWND view, const BrowserSettings& settings,
                                                 BrowserEventSink sink, void* sink_context) {
    if (!view || !IsWindow(view)) return nullptr;
    std::unique_ptr<BrowserHost> host(new BrowserHost());
    Impl& im = *host->impl_;
    im.view = view;

    // Every early return below destroys `host`, whose teardown undoes what was done.
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(im.object.put()))))
        return nullptr;
    // Asked before activation so a control without it never gets a window.
    if (FAILED(im.object->QueryInterface(IID_PPV_ARGS(im.browser.put())))) return nullptr;

    im.site = ComPtr<Site>::adopt(new Site(view, sink, sink_context));
    if (FAILED(im.object->SetClientSite(im.site->client_site()))) return nullptr;
    // Only affects link bookkeeping; the control works without it.
    OleSetContainedObject(im.object.get(), TRUE);

    RECT rc = client_rect(view);
    if (FAILED(im.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, im.site->client_site(), 0,
                                 view, &rc)))
        return nullptr;
    if (SUCCEEDED(im.object->QueryInterface(IID_PPV_ARGS(im.in_place.put()))))
        im.site->set_in_place_object(im.in_place.get());

    // Without events the page still shows; only the notifications and the ability to
    // cancel navigations are lost, so a failure here is not fatal.
    ComPtr<IConnectionPointContainer> points;
    if (SUCCEEDED(im.object->QueryInterface(IID_PPV_ARGS(points.put()))) &&
        SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, im.events.put()))) {
        if (FAILED(im.events->Advise(static_cast<IDispatch*>(im.site.get()), &im.cookie)))
            im.events.reset();
    }

    // Settings are best effort: not every component version honours all of them.
    im.browser->put_Offline(settings.offline ? VARIANT_TRUE : VARIANT_FALSE);
    im.browser->put_Silent(settings.silent ? VARIANT_TRUE : VARIANT_FALSE);
    Variant zoom;
    zoom.v.vt = VT_I4;
    zoom.v.lVal = settings.font_size < 0 ? 0 : settings.font_size > 4 ? 4 : settings.font_size;
    im.browser->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &zoom.v, nullptr);
    return host;
}

void BrowserHost::navigate(const wchar_t* url) {
    if (!impl_->browser || !url) return;
    BSTR address = SysAllocString(url);
    if (!address) return;
    Variant flags;
    flags.v.vt = VT_I4;
    flags.v.lVal = 0;
    Variant frame;
    frame.v.vt = VT_BSTR;
    frame.v.bstrVal = SysAllocString(L"");
    Variant post_data;
    Variant headers;
    headers.v.vt = VT_BSTR;
    headers.v.bstrVal = SysAllocString(L"");
    impl_->browser->Navigate(address, &flags.v, &frame.v, &post_data.v, &headers.v);
    SysFreeString(address);
}

void BrowserHost::resize(int width, int height) {
    if (!impl_->in_place) return;
    const RECT rc{0, 0, width < 0 ? 0 : width, height < 0 ? 0 : height};
    impl_->in_place->SetObjectRects(&rc, &rc);
}

void BrowserHost::focus() {
    Impl& im = *impl_;
    if (!im.object || !im.site) return;
    RECT rc = client_rect(im.view);
    im.object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, im.site->client_site(), 0, im.view, &rc);
    // UI activation does not always move the keyboard focus (it does not under Wine),
    // so hand it to the control's window directly when it is still outside.
    if (!has_focus() && im.in_place) {
        HWND window = nullptr;
        if (SUCCEEDED(im.in_place->GetWindow(&window)) && window) SetFocus(window);
    }
}

bool BrowserHost::has_focus() const {
    const HWND focused = GetFocus();
    return focused && (focused == impl_->view || IsChild(impl_->view, focused));
}

bool BrowserHost::translate_accelerator(MSG& msg) {
    if (!impl_->object || msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    ComPtr<IOleInPlaceActiveObject> active;
    if (FAILED(impl_->object->QueryInterface(IID_PPV_ARGS(active.put())))) return false;
    return active->TranslateAccelerator(&msg) == S_OK;
}

}  // namespace rt
