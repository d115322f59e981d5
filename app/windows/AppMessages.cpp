#include "AppMessages.hpp"

#include <cstdio>

namespace quarnel {
namespace {

struct CallText {
    const char* what;
    const char* call;
    bool hresult;  // the code is an HRESULT, shown in hex; else a GetLastError number
};

CallText TextOf(StartupCall call) {
    switch (call) {
        case StartupCall::OleInitialize:
            return {"OLE, das Dateien ins Fenster ziehen lässt, ließ sich nicht einrichten",
                    "OleInitialize", true};
        case StartupCall::RegisterClassExW:
            return {"Eine Fensterklasse ließ sich nicht anmelden", "RegisterClassExW", false};
        case StartupCall::CreateWindowExW:
            return {"Ein Fenster ließ sich nicht erstellen", "CreateWindowExW", false};
        case StartupCall::RegisterDragDrop:
            return {"Das Bild ließ sich nicht als Ziel zum Ablegen von Dateien anmelden",
                    "RegisterDragDrop", true};
    }
    return {"Ein Aufruf des Systems schlug fehl", "?", false};
}

}  // namespace

std::string StartupFailureMessage(const StartupFailure& failure) {
    const CallText text = TextOf(failure.Call());
    std::string code;
    if (failure.Code() != 0) {
        char number[32];
        std::snprintf(number, sizeof number, text.hresult ? ", Fehler 0x%08lX" : ", Fehler %lu",
                      failure.Code());
        code = number;
    }
    return std::string("Quarnel! kann nicht starten: ") + text.what + " (" + text.call + code +
           ").\rDas Programm wird beendet.";
}

}  // namespace quarnel
