// The Sample Grabber's buffer callback: converts each decoded frame into the
// owning player's frame buffer on DirectShow's streaming thread.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "lock.h"

struct Velmora;

// Embedded in its player record and living exactly as long as it: reference
// counting is bookkeeping and never frees the object.
class CSampleCallback : public ISampleGrabberCB {
public:
    void SetOwnerLock(CLock* lock) { ownerLock = lock; }
    // A null owner makes BufferCB skip frames.
    void SetOwner(Velmora* record) { owner = record; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP SampleCB(double sampleTime, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double sampleTime, BYTE* buffer, long length) override;

private:
    LONG refCount = 0;
    CLock* ownerLock = nullptr;
    Velmora* owner = nullptr;
};
