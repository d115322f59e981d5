// A data object as a drag source hands it over: formats given as HGLOBAL bytes, each GetData a
// fresh copy the caller releases. Lives on the stack; its reference count is not used.
// A format may end before its bytes do: the block is then shrunk to that size in place, so the
// rest still lies in memory just past the block, where a reader that overruns it would find it.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace quarnel::testing {

class FakeDataObject final : public IDataObject {
public:
    void Offer(CLIPFORMAT format, std::vector<BYTE> bytes) {
        blockSizes_[format] = bytes.size();
        formats_[format] = std::move(bytes);
    }
    void OfferCutShort(CLIPFORMAT format, std::vector<BYTE> bytes, std::size_t blockSize) {
        Offer(format, std::move(bytes));
        blockSizes_[format] = blockSize;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDataObject) {
            *object = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        if (runOutOfMemory) throw std::bad_alloc();
        const std::vector<BYTE>& bytes = formats_.at(format->cfFormat);
        HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!bytes.empty()) {
            std::memcpy(GlobalLock(global), bytes.data(), bytes.size());
            GlobalUnlock(global);
        }
        const std::size_t blockSize = blockSizes_.at(format->cfFormat);
        if (blockSize < bytes.size()) global = GlobalReAlloc(global, blockSize, 0);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global;
        medium->pUnkForRelease = nullptr;
        ++getDataCalls;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (format == nullptr || (format->tymed & TYMED_HGLOBAL) == 0) return DV_E_TYMED;
        return formats_.count(format->cfFormat) != 0 ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

    int getDataCalls = 0;
    bool runOutOfMemory = false;  // as copying the names out would

private:
    std::map<CLIPFORMAT, std::vector<BYTE>> formats_;
    std::map<CLIPFORMAT, std::size_t> blockSizes_;
};

// CF_HDROP bytes as Explorer builds them: DROPFILES, then each wide name with its terminator,
// then one more terminator.
inline std::vector<BYTE> HDropBytes(const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const auto& name : names) list += name + L'\0';
    list += L'\0';
    std::vector<BYTE> bytes(sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, list.data(), list.size() * sizeof(wchar_t));
    return bytes;
}

}  // namespace quarnel::testing
