// The Win32 calls without which quarnel.exe cannot work: OLE, the window classes, the windows and
// the drop target, and the posts and timers that run a drop after its event. They go through
// this class, whose members make the system's own calls, so a test can make each one fail as it
// would not under Wine. A failure at start is thrown as a StartupFailure; the program says what
// failed and ends.
#pragma once

#include <cstdint>
#include <exception>

#include "platform/windows/support/NativeWindow.hpp"

struct IDropTarget;
struct tagWNDCLASSEXW;

namespace quarnel {

enum class StartupCall { OleInitialize, RegisterClassExW, CreateWindowExW, RegisterDragDrop };

class StartupFailure : public std::exception {
public:
    // code: the HRESULT of the OLE calls, GetLastError of the others.
    StartupFailure(StartupCall call, unsigned long code) : call_(call), code_(code) {}
    StartupCall Call() const { return call_; }
    unsigned long Code() const { return code_; }
    const char* what() const noexcept override { return "a start-up call failed"; }

private:
    StartupCall call_;
    unsigned long code_;
};

class StartupCalls {
public:
    virtual ~StartupCalls() = default;

    // HRESULTs; S_FALSE (OLE already set up on this thread) counts as success.
    virtual long OleInitialize();
    virtual long RegisterDragDrop(NativeWindow window, IDropTarget* target);
    // 0 on failure, with GetLastError set.
    virtual unsigned short RegisterClassExW(const tagWNDCLASSEXW& windowClass);
    // At 0, 0 with size 0, in this program's module; nullptr on failure, with GetLastError set.
    virtual NativeWindow CreateWindowExW(unsigned long exStyle, const wchar_t* className,
                                         const wchar_t* caption, unsigned long style,
                                         NativeWindow parent, int id, void* createParam);
    // False on failure (a full message queue, no timer left), with GetLastError set.
    virtual bool PostMessageW(NativeWindow window, unsigned message);
    virtual bool SetTimer(NativeWindow window, std::uintptr_t id, unsigned milliseconds);
};

// The system's own calls, for windows made when no test asks otherwise.
StartupCalls& SystemStartupCalls();

}  // namespace quarnel
