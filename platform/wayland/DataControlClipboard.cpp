#include "DataControlClipboard.hpp"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#include <wayland-client.h>
// generated from protocols/ by wayland-scanner
#include <ext-data-control-v1-client.h>
#include <wlr-data-control-unstable-v1-client.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

namespace quarnel {
namespace {

// The types under which the text is offered: Wayland's own names, and those of X11, which
// XWayland's programs ask for.
constexpr const char* cTextTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING",
                                      "TEXT"};

class OwnedFd {
public:
    explicit OwnedFd(int fd) : fd_(fd) {}
    OwnedFd(OwnedFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    OwnedFd& operator=(OwnedFd&&) = delete;
    ~OwnedFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }

private:
    int fd_;
};

// Writes the text into a reader's descriptor and closes it, on a thread of its own, so that a
// slow or stalled reader never holds up the program. SIGPIPE is blocked on that thread: a
// reader that goes away ends the write with EPIPE, not the program.
void Serve(std::shared_ptr<const std::string> text, OwnedFd reader) {
    try {
        std::thread([text = std::move(text), reader = std::move(reader)] {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
            const int flags = ::fcntl(reader.Get(), F_GETFL);
            if (flags >= 0) ::fcntl(reader.Get(), F_SETFL, flags & ~O_NONBLOCK);
            std::string_view left = *text;
            while (!left.empty()) {
                const ssize_t written = ::write(reader.Get(), left.data(), left.size());
                if (written < 0 && errno == EINTR) continue;
                if (written <= 0) break;
                left.remove_prefix(static_cast<std::size_t>(written));
            }
        }).detach();
    } catch (const std::system_error&) {
        // no thread: the reader gets nothing, its descriptor is closed
    }
}

// A Wayland object owned by the client, handed to destroy at the end.
template <auto destroy>
struct Destroyer {
    template <typename T>
    void operator()(T* object) const {
        destroy(object);
    }
};
template <typename T, auto destroy>
using Owned = std::unique_ptr<T, Destroyer<destroy>>;

struct Display {
    Owned<wl_display, wl_display_disconnect> display{wl_display_connect(nullptr)};
    wl_display* Get() const { return display.get(); }
};

// The globals of the compositor that the clipboard needs: its first seat, the managers of
// both data-control protocols (0 where it has none).
struct Globals {
    std::uint32_t seat = 0;
    std::uint32_t extManager = 0;
    std::uint32_t wlrManager = 0;

    static constexpr wl_registry_listener cListener{
        [](void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t) {
            auto& globals = *static_cast<Globals*>(data);
            const std::string_view type = interface;
            if (type == wl_seat_interface.name && globals.seat == 0) globals.seat = name;
            if (type == ext_data_control_manager_v1_interface.name) globals.extManager = name;
            if (type == zwlr_data_control_manager_v1_interface.name) globals.wlrManager = name;
        },
        [](void*, wl_registry*, std::uint32_t) {}};
};

// The two data-control protocols differ only in their names: the same requests and events in
// the same order. A protocol's names, gathered for the session below.
#define QUARNEL_DATA_CONTROL_PROTOCOL(Name, prefix)                                  \
    struct Name {                                                                    \
        using Manager = prefix##_manager_v1;                                         \
        using Device = prefix##_device_v1;                                           \
        using Source = prefix##_source_v1;                                           \
        using Offer = prefix##_offer_v1;                                             \
        using DeviceListener = prefix##_device_v1_listener;                          \
        using SourceListener = prefix##_source_v1_listener;                          \
        static constexpr auto CreateSource = prefix##_manager_v1_create_data_source; \
        static constexpr auto GetDevice = prefix##_manager_v1_get_data_device;       \
        static constexpr auto DestroyManager = prefix##_manager_v1_destroy;          \
        static constexpr auto AddDeviceListener = prefix##_device_v1_add_listener;   \
        static constexpr auto SetSelection = prefix##_device_v1_set_selection;       \
        static constexpr auto DestroyDevice = prefix##_device_v1_destroy;            \
        static constexpr auto AddSourceListener = prefix##_source_v1_add_listener;   \
        static constexpr auto OfferType = prefix##_source_v1_offer;                  \
        static constexpr auto DestroySource = prefix##_source_v1_destroy;            \
        static constexpr auto DestroyOffer = prefix##_offer_v1_destroy;              \
    }

QUARNEL_DATA_CONTROL_PROTOCOL(ExtDataControl, ext_data_control);
QUARNEL_DATA_CONTROL_PROTOCOL(WlrDataControl, zwlr_data_control);

#undef QUARNEL_DATA_CONTROL_PROTOCOL

}  // namespace

// One connection to the compositor, with its seat and the notifier that serves its events from
// the Qt event loop.
class DataControlClipboard::Session {
public:
    virtual ~Session() = default;
    virtual bool Offer(std::shared_ptr<const std::string> text) = 0;

    bool Owns() const { return owns_; }
    void WhenLost(std::function<void()> lost) {
        if (!owns_) {
            lost();
            return;
        }
        lost_ = std::move(lost);
    }

protected:
    Session(Display display, Owned<wl_seat, wl_seat_destroy> seat)
        : display_(std::move(display)),
          seat_(std::move(seat)),
          events_(wl_display_get_fd(display_.Get()), QSocketNotifier::Read) {
        QObject::connect(&events_, &QSocketNotifier::activated, [this] { ServeEvents(); });
    }

    wl_display* WlDisplay() const { return display_.Get(); }
    wl_seat* Seat() const { return seat_.get(); }
    void SetOwns() { owns_ = true; }

    // The clipboard is another program's now, or the compositor is gone.
    void Lose() {
        owns_ = false;
        ForgetText();
        if (lost_) std::exchange(lost_, nullptr)();
    }

    virtual void ForgetText() = 0;

    // Sends what was asked and handles what the compositor sent: false when the connection
    // has broken.
    bool RoundTrip() {
        if (wl_display_roundtrip(WlDisplay()) >= 0) return true;
        Broken();
        return false;
    }

private:
    void ServeEvents() {
        if (wl_display_dispatch(WlDisplay()) < 0 || wl_display_flush(WlDisplay()) < 0) Broken();
    }

    void Broken() {
        events_.setEnabled(false);
        Lose();
    }

    Display display_;
    Owned<wl_seat, wl_seat_destroy> seat_;
    QSocketNotifier events_;
    bool owns_ = false;
    std::function<void()> lost_;
};

namespace {

template <typename P>
class ProtocolSession final : public DataControlClipboard::Session {
public:
    ProtocolSession(Display display, Owned<wl_seat, wl_seat_destroy> seat,
                    typename P::Manager* manager)
        : Session(std::move(display), std::move(seat)),
          manager_(manager),
          device_(P::GetDevice(manager, Seat())) {
        P::AddDeviceListener(device_.get(), &cDeviceListener, this);
    }

    ~ProtocolSession() override {
        ForgetText();
        wl_display_flush(WlDisplay());
    }

    bool Offer(std::shared_ptr<const std::string> text) override {
        Source source(P::CreateSource(manager_.get()));
        P::AddSourceListener(source.get(), &cSourceListener, this);
        for (const char* type : cTextTypes) P::OfferType(source.get(), type);
        P::SetSelection(device_.get(), source.get());
        // the source set before is cancelled by this; it is no longer needed
        source_ = std::move(source);
        text_ = std::move(text);
        SetOwns();
        return RoundTrip() && Owns();
    }

private:
    using Source = Owned<typename P::Source, P::DestroySource>;

    void ForgetText() override {
        source_.reset();
        text_.reset();
    }

    void Send(typename P::Source* source, int32_t fd) {
        OwnedFd reader(fd);
        if (source == source_.get() && text_) Serve(text_, std::move(reader));
    }

    void Cancelled(typename P::Source* source) {
        if (source == source_.get()) Lose();
    }

    // Offers of other programs' selections come in and are never read.
    static void DropOffer(void*, typename P::Device*, typename P::Offer* offer) {
        if (offer != nullptr) P::DestroyOffer(offer);
    }

    static constexpr typename P::SourceListener cSourceListener{
        [](void* data, typename P::Source* source, const char*, int32_t fd) {
            static_cast<ProtocolSession*>(data)->Send(source, fd);
        },
        [](void* data, typename P::Source* source) {
            static_cast<ProtocolSession*>(data)->Cancelled(source);
        }};

    static constexpr typename P::DeviceListener cDeviceListener{
        [](void*, typename P::Device*, typename P::Offer*) {}, DropOffer,
        // the seat is gone
        [](void* data, typename P::Device*) { static_cast<ProtocolSession*>(data)->Lose(); },
        DropOffer};

    Owned<typename P::Manager, P::DestroyManager> manager_;
    Owned<typename P::Device, P::DestroyDevice> device_;
    Source source_;
    std::shared_ptr<const std::string> text_;
};

}  // namespace

std::unique_ptr<DataControlClipboard> DataControlClipboard::Connect() {
    Display display;
    if (display.Get() == nullptr) return nullptr;
    const Owned<wl_registry, wl_registry_destroy> registry(wl_display_get_registry(display.Get()));
    Globals globals;
    wl_registry_add_listener(registry.get(), &Globals::cListener, &globals);
    if (wl_display_roundtrip(display.Get()) < 0 || globals.seat == 0) return nullptr;

    const auto bind = [&](std::uint32_t name, const wl_interface& interface) {
        return wl_registry_bind(registry.get(), name, &interface, 1);
    };
    Owned<wl_seat, wl_seat_destroy> seat(
        static_cast<wl_seat*>(bind(globals.seat, wl_seat_interface)));
    std::unique_ptr<Session> session;
    if (globals.extManager != 0) {
        session = std::make_unique<ProtocolSession<ExtDataControl>>(
            std::move(display), std::move(seat),
            static_cast<ext_data_control_manager_v1*>(
                bind(globals.extManager, ext_data_control_manager_v1_interface)));
    } else if (globals.wlrManager != 0) {
        session = std::make_unique<ProtocolSession<WlrDataControl>>(
            std::move(display), std::move(seat),
            static_cast<zwlr_data_control_manager_v1*>(
                bind(globals.wlrManager, zwlr_data_control_manager_v1_interface)));
    } else {
        return nullptr;
    }
    return std::make_unique<DataControlClipboard>(std::move(session));
}

DataControlClipboard::DataControlClipboard(std::unique_ptr<Session> session)
    : session_(std::move(session)) {}

DataControlClipboard::~DataControlClipboard() = default;

bool DataControlClipboard::SetText(const OutputText& text) {
    // made whole before it replaces the text offered so far
    auto bytes = std::make_shared<std::string>(text.Joined());
    return session_->Offer(std::move(bytes));
}

bool DataControlClipboard::Owns() const { return session_->Owns(); }

void DataControlClipboard::WhenLost(std::function<void()> lost) {
    session_->WhenLost(std::move(lost));
}

}  // namespace quarnel
