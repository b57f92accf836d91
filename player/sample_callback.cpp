#include "sample_callback.h"

#include "frame_convert.h"
#include "velmora.h"

STDMETHODIMP CSampleCallback::QueryInterface(REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_ISampleGrabberCB) || IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<ISampleGrabberCB*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CSampleCallback::AddRef() { return static_cast<ULONG>(++refCount); }

STDMETHODIMP_(ULONG) CSampleCallback::Release() { return static_cast<ULONG>(--refCount); }

STDMETHODIMP CSampleCallback::SampleCB(double, IMediaSample*) { return S_OK; }

STDMETHODIMP CSampleCallback::BufferCB(double, BYTE* buffer, long length)
{
    CLockGuard lock(ownerLock);
    if (!owner || length <= 0 || !owner->frameBuffer) return S_OK;
    ConvertFrame(buffer, length, owner->videoWidth, owner->videoHeight, owner->bytesPerPixel,
                 owner->frameBuffer, owner->textureWidth, owner->textureHeight);
    return S_OK;
}
