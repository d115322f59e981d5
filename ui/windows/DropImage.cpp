#include "DropImage.hpp"

#include <ole2.h>
#include <windows.h>

#include <algorithm>

namespace quarnel {
namespace {

constexpr int cDropFolderIcon = 2;

#pragma pack(push, 2)
// An entry of an icon's directory in the resources.
struct GroupIconEntry {
    BYTE width;  // 0 for 256
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

// The largest of the folder icon's own sizes that fits the place, so that it is drawn as it was
// made and not scaled up to a blocky picture; its smallest where none fits. Resource data lives
// as long as the module and is not freed.
int LargestSizeThatFits(int place) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(cDropFolderIcon), RT_GROUP_ICON);
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* header = static_cast<const GroupIconHeader*>(LockResource(loaded));
    if (header == nullptr) return place;
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    int largestFitting = 0;
    int smallest = 0;
    for (int i = 0; i < header->count; ++i) {
        const int size = entries[i].width == 0 ? 256 : entries[i].width;
        if (size <= place) largestFitting = std::max(largestFitting, size);
        if (smallest == 0 || size < smallest) smallest = size;
    }
    return largestFitting != 0 ? largestFitting : smallest;
}

}  // namespace

DropImage::DropImage(StartupCalls& calls, NativeWindow parent, int id) : calls_(calls) {
    if (auto failure = Create(calls, L"QuarnelImage1", ClassIcon::None,
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent)) {
        throw *failure;
    }
    SetWindowLongPtrW(Handle(), GWLP_ID, id);
}

DropImage::~DropImage() {
    Revoke();
    if (dropTarget_) DetachOleDropTarget(*dropTarget_);
}

void DropImage::SetDropGate(DropGate& gate) {
    Revoke();
    if (dropTarget_) DetachOleDropTarget(*dropTarget_);
    dropTarget_ = MakeOleDropTarget(gate);
    const HRESULT result = calls_.RegisterDragDrop(Handle(), dropTarget_.get());
    if (FAILED(result)) {
        throw StartupFailure(StartupCall::RegisterDragDrop, static_cast<unsigned long>(result));
    }
    registered_ = true;
}

void DropImage::Revoke() {
    if (registered_ && Handle() != nullptr) RevokeDragDrop(Handle());
    registered_ = false;
}

void DropImage::SetBorderStyle(int style) {
    borderStyle_ = style;
    if (Handle() == nullptr) return;
    InvalidateRect(Handle(), nullptr, TRUE);
    UpdateWindow(Handle());
}

std::intptr_t DropImage::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DESTROY:
            Revoke();
            break;
        default:
            break;
    }
    return DefaultMessage(message, wParam, lParam);
}

void DropImage::OnPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(Handle(), &paint);
    RECT client{};
    GetClientRect(Handle(), &client);
    const int place = std::min<int>(client.right, client.bottom);
    if (place > 0 && place != placeSize_) {
        pictureSize_ = LargestSizeThatFits(place);
        icon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(cDropFolderIcon), IMAGE_ICON,
                                                  pictureSize_, pictureSize_, 0)));
        placeSize_ = place;
    }
    if (icon_) {
        DrawIconEx(dc, (client.right - pictureSize_) / 2, (client.bottom - pictureSize_) / 2,
                   icon_.get(), pictureSize_, pictureSize_, 0, nullptr, DI_NORMAL);
    }
    if (borderStyle_ != 0) FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    EndPaint(Handle(), &paint);
}

}  // namespace quarnel
