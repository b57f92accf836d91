#include "class_watch.h"

#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "filter_classes.h"
#include "proc_address.h"

namespace {

typedef HRESULT(WINAPI* GetClassObjectFn)(REFCLSID, REFIID, void**);

struct WatchedClass {
    const char* name;
    const CLSID* clsid;
    const char* dll;
};

const WatchedClass kClasses[] = {
    {"FilterGraph", &CLSID_FilterGraph, "quartz.dll"},
    {"SampleGrabber", &kSampleGrabberClass, "qedit.dll"},
    {"NullRenderer", &kNullRendererClass, "qedit.dll"},
};

struct NamedInterface {
    const char* name;
    const IID* iid;
};

const NamedInterface kInterfaces[] = {
    {"IMediaControl", &IID_IMediaControl}, {"IMediaSeeking", &IID_IMediaSeeking},
    {"IBasicAudio", &IID_IBasicAudio},     {"IVideoWindow", &IID_IVideoWindow},
    {"IBasicVideo", &IID_IBasicVideo},     {"ISampleGrabber", &IID_ISampleGrabber},
};

class COuter;
std::vector<COuter*> g_graphs;
const IID* g_refusedInterface = nullptr;

// Aggregates one real object; its reference count is what others hold.
class COuter final : public IUnknown {
public:
    explicit COuter(bool isGraph) : isGraph_(isGraph)
    {
        if (isGraph_) g_graphs.push_back(this);
    }

    HRESULT Aggregate(IClassFactory* real) { return real->CreateInstance(this, IID_IUnknown, reinterpret_cast<void**>(&inner_)); }
    IUnknown* Inner() const { return inner_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        if (g_refusedInterface && IsEqualIID(iid, *g_refusedInterface)) return E_NOINTERFACE;
        return inner_ ? inner_->QueryInterface(iid, object) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            // Guards against the inner object's own AddRef/Release pairs while it goes.
            references_ = 1;
            if (inner_) inner_->Release();
            if (isGraph_) {
                for (size_t i = 0; i < g_graphs.size(); i++)
                    if (g_graphs[i] == this) g_graphs.erase(g_graphs.begin() + static_cast<long>(i));
            }
            delete this;
        }
        return static_cast<ULONG>(left);
    }

private:
    LONG references_ = 1;
    bool isGraph_;
    IUnknown* inner_ = nullptr;
};

class CWatchFactory final : public IClassFactory {
public:
    CWatchFactory(IClassFactory* real, bool refused, bool isGraph) : real_(real), refused_(refused), isGraph_(isGraph) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Static lifetime: the registration and the host own it.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        *object = nullptr;
        if (refused_) return REGDB_E_CLASSNOTREG;
        if (outer) return CLASS_E_NOAGGREGATION;
        COuter* wrapper = new COuter(isGraph_);
        HRESULT result = wrapper->Aggregate(real_);
        if (SUCCEEDED(result)) result = wrapper->QueryInterface(iid, object);
        wrapper->Release();
        return result;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    IClassFactory* Real() const { return real_; }

private:
    IClassFactory* real_;
    bool refused_;
    bool isGraph_;
};

std::vector<CWatchFactory*> g_factories;
std::vector<DWORD> g_cookies;

}  // namespace

bool StartWatching(const WatchSettings& settings, std::string& problem)
{
    if (!settings.refusedInterface.empty()) {
        for (const NamedInterface& named : kInterfaces)
            if (settings.refusedInterface == named.name) g_refusedInterface = named.iid;
        if (!g_refusedInterface) {
            problem = "unknown interface " + settings.refusedInterface;
            return false;
        }
    }
    bool knownClass = settings.refusedClass.empty();
    for (const WatchedClass& watched : kClasses) {
        HMODULE dll = LoadLibraryA(watched.dll);
        auto getClassObject = dll ? ProcAddress<GetClassObjectFn>(dll, "DllGetClassObject") : nullptr;
        IClassFactory* real = nullptr;
        if (!getClassObject || FAILED(getClassObject(*watched.clsid, IID_IClassFactory, reinterpret_cast<void**>(&real)))) {
            problem = std::string("no class object for ") + watched.name + " in " + watched.dll;
            return false;
        }
        const bool refused = settings.refusedClass == watched.name;
        knownClass = knownClass || refused;
        auto* factory = new CWatchFactory(real, refused, watched.clsid == &CLSID_FilterGraph);
        DWORD cookie = 0;
        if (FAILED(CoRegisterClassObject(*watched.clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie))) {
            problem = std::string("cannot register ") + watched.name;
            return false;
        }
        g_factories.push_back(factory);
        g_cookies.push_back(cookie);
    }
    if (!knownClass) {
        problem = "unknown class " + settings.refusedClass;
        return false;
    }
    return true;
}

void StopWatching()
{
    for (DWORD cookie : g_cookies) CoRevokeClassObject(cookie);
    g_cookies.clear();
    for (CWatchFactory* factory : g_factories) {
        factory->Real()->Release();
        delete factory;
    }
    g_factories.clear();
}

std::vector<std::vector<std::string>> WatchedGraphs()
{
    std::vector<std::vector<std::string>> graphs;
    for (COuter* outer : g_graphs) {
        std::vector<std::string> names;
        IFilterGraph* graph = nullptr;
        if (outer->Inner() && SUCCEEDED(outer->Inner()->QueryInterface(IID_IFilterGraph, reinterpret_cast<void**>(&graph)))) {
            IEnumFilters* filters = nullptr;
            if (SUCCEEDED(graph->EnumFilters(&filters))) {
                IBaseFilter* filter = nullptr;
                while (filters->Next(1, &filter, nullptr) == S_OK) {
                    FILTER_INFO info = {};
                    if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
                        char name[MAX_FILTER_NAME * 3];
                        WideCharToMultiByte(CP_UTF8, 0, info.achName, -1, name, sizeof(name), nullptr, nullptr);
                        names.push_back(name);
                        if (info.pGraph) info.pGraph->Release();
                    }
                    filter->Release();
                }
                filters->Release();
            }
            graph->Release();
        }
        graphs.push_back(names);
    }
    return graphs;
}
