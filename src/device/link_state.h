#pragma once

#include "device_protocol.h"
#include "support/bilingual.h"

#include <atomic>
#include <mutex>

namespace kvt {

// What the worker is doing, or what the window asks of it. The window writes a
// request or StateSearch only after reading StateIdle, and StateIdle only to
// withdraw its own request; the worker writes every other value.
enum LinkState : quint8 {
    StateSearch = 0,
    StateReadVersion = 1,
    StateReadDirectory = 2,
    StateReadImpacts = 3,
    StateReadMaterials = 5,
    StateWriteMaterials = 6,
    StateReadObjects = 7,
    StateWriteObjects = 8,
    StateReadScreen = 9,
    StateFinishRead = 12,
    StateIdle = 14,
    StateStartup = 255,
};

// What the window thread and the worker share. The window fills an outgoing
// buffer before it stores its request, and reads an incoming one once the
// state is back at StateIdle or it has withdrawn the request; the worker
// copies to and from them under requestLock while the request stands.
struct LinkShared {
    std::atomic<quint8> linkState{StateStartup};
    std::atomic<bool> deviceDataRead{false};
    NameListBlock materialNamesBuffer{};
    NameListBlock objectNamesBuffer{};
    // The buffer of the screen viewer that asked last; see link_requests.h.
    std::mutex requestLock;
    ScreenBlock *screenBuffer = nullptr; // guarded by requestLock
    // Each posted request gets the next serial; the worker records the serial
    // of each request it completed, so a requester can tell its own request
    // served from one that failed, was replaced or was withdrawn.
    quint32 requestSerial = 0; // guarded by requestLock
    quint32 servedSerial = 0;  // guarded by requestLock
    // The window's language, for the texts libusb's search shows.
    std::atomic<Language> language{Language::Russian};
};

// The instrument has answered and its measurements are being read.
inline bool readingRecords(quint8 state)
{
    return state == StateReadVersion || state == StateReadDirectory || state == StateReadImpacts ||
           state == StateFinishRead;
}

// The read command ("Read KVT-1.0"): only an idle worker is sent searching, and
// the next complete read counts as new. False when the worker was busy.
inline bool requestInstrumentRead(LinkShared &shared)
{
    quint8 idle = StateIdle;
    if (!shared.linkState.compare_exchange_strong(idle, StateSearch))
        return false;
    shared.deviceDataRead = false;
    return true;
}

// A measurement file was opened: whatever the worker was reading for the
// window is dropped and it goes idle. A request a dialog has posted stays:
// that dialog still owns it and waits for its answer.
inline void abandonInstrumentRead(LinkShared &shared)
{
    quint8 state = shared.linkState.load();
    while ((state < StateReadMaterials || state > StateReadScreen) &&
           !shared.linkState.compare_exchange_weak(state, StateIdle)) {
    }
}

// The worker's status texts, shown in status panel 1 in the current language.
inline constexpr TextPair MsgVersionRead{u"Чтение версии", u"Version Read"};
inline constexpr TextPair MsgParametersRead{u"Чтение параметров", u"Parameters Read"};
inline constexpr TextPair MsgDataReaded{u"Данные считаны", u"Data Readed"};
inline constexpr TextPair MsgScreenshotReading{u"Чтение образа экрана...", u"Screenshot reading..."};
inline constexpr TextPair MsgScreenshotReaded{u"Образ экрана считан", u"Screenshot readed"};
inline constexpr TextPair MsgParamReaded{u"Параметры считаны", u"Param Readed"};
inline constexpr TextPair MsgParamWrited{u"Параметры записаны", u"Param Writed"};
inline constexpr TextPair MsgLinkError{u"Ошибка связи", u"Link Error"};
inline constexpr TextPair MsgCheckConnection{u"Проверьте подключение", u"Check Connection"};
// Panel 1 until the worker first writes to it, in Russian whatever the language.
inline constexpr char16_t TryingToConnect[] = u"Попытка соединения...";

// The link indicator's colours.
enum class LinkColor { Green, Black, Red, ButtonFace };

} // namespace kvt
