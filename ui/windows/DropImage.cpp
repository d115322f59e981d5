#include "DropImage.hpp"

#include <ole2.h>
#include <windows.h>

namespace quarnel {
namespace {

constexpr UINT cRunDropMessage = WM_APP + 1;
constexpr int cDropFolderIcon = 2;

// The wait cursor for as long as a drop runs; the window's own cursor comes back afterwards.
HCURSOR WaitCursor() { return LoadCursorW(nullptr, IDC_WAIT); }

}  // namespace

DropImage::DropImage(NativeWindow parent, int id) {
    Create(L"QuarnelImage1", ClassIcon::None, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent);
    SetWindowLongPtrW(Handle(), GWLP_ID, id);
    dropTarget_ = MakeOleDropTarget(*this);
    registered_ = SUCCEEDED(RegisterDragDrop(Handle(), dropTarget_.get()));
}

DropImage::~DropImage() {
    Revoke();
    DetachOleDropTarget(*dropTarget_);
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

void DropImage::TakeDrop(DropData data) {
    pendingDrop_ = std::move(data);
    handlingDrop_ = true;
    PostMessageW(Handle(), cRunDropMessage, 0, 0);
}

void DropImage::RunDrop() {
    struct BusyWhileHandling {
        DropImage& image;
        explicit BusyWhileHandling(DropImage& i) : image(i) { SetCursor(WaitCursor()); }
        ~BusyWhileHandling() {
            image.handlingDrop_ = false;
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            if (image.dropFinished_) image.dropFinished_();
        }
    } busy(*this);
    const DropData data = std::move(pendingDrop_);
    pendingDrop_ = {};
    if (dropAction_) dropAction_(data);
}

std::intptr_t DropImage::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SETCURSOR:
            if (!handlingDrop_) break;
            SetCursor(WaitCursor());
            return TRUE;
        case cRunDropMessage:
            RunDrop();
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
