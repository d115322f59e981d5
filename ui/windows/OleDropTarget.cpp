#include "OleDropTarget.hpp"

#include <ole2.h>
#include <windows.h>

#include <atomic>

#include "platform/windows/support/OleDropData.hpp"

namespace quarnel {
namespace {

// Reference counted: the object deletes itself, through a unique_ptr that takes it back, when
// the last reference goes.
class OleDropTarget final : public IDropTarget {
public:
    explicit OleDropTarget(DropGate& gate) : gate_(&gate) {}

    void Detach() { gate_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) std::unique_ptr<OleDropTarget> last(this);
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        return Answer(effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        return Answer(effect);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        if (effect == nullptr) return E_INVALIDARG;
        if (!Accepting()) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        // The gate takes the names out of data and keeps whatever fails on this side.
        *effect = gate_->TakeDrop([data] { return DropDataFrom(data); }) ? DROPEFFECT_COPY
                                                                         : DROPEFFECT_NONE;
        return S_OK;
    }

private:
    bool Accepting() const { return gate_ != nullptr && gate_->AcceptsDrops(); }

    HRESULT Answer(DWORD* effect) const {
        if (effect == nullptr) return E_INVALIDARG;
        *effect = Accepting() ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }

    DropGate* gate_;
    std::atomic<ULONG> references_{1};
};

}  // namespace

void DropTargetRelease::operator()(IDropTarget* target) const { target->Release(); }

DropTargetPtr MakeOleDropTarget(DropGate& gate) {
    return DropTargetPtr(std::make_unique<OleDropTarget>(gate).release());
}

void DetachOleDropTarget(IDropTarget& target) { static_cast<OleDropTarget&>(target).Detach(); }

}  // namespace quarnel
