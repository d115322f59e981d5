#include "DropImage.hpp"

#include <ole2.h>
#include <windows.h>

namespace quarnel {
namespace {

constexpr int cDropFolderIcon = 2;

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
    const int size = std::min<int>(client.right, client.bottom);
    if (size > 0 && size != iconSize_) {
        icon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                  MAKEINTRESOURCEW(cDropFolderIcon), IMAGE_ICON,
                                                  size, size, 0)));
        iconSize_ = size;
    }
    if (icon_) {
        DrawIconEx(dc, (client.right - size) / 2, (client.bottom - size) / 2, icon_.get(), size,
                   size, 0, nullptr, DI_NORMAL);
    }
    if (borderStyle_ != 0) FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    EndPaint(Handle(), &paint);
}

}  // namespace quarnel
