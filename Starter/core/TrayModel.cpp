// The tray icon's callback messages: what they carry and which of them open the menu.
#include "StarterModel.h"

TrayCallback TrayCallback_Decode(bool version4, std::uintptr_t wParam, std::intptr_t lParam) {
    TrayCallback callback;
    const auto low = static_cast<std::uint32_t>(lParam);
    if (!version4) {
        callback.event = low;
        return callback;
    }
    callback.event = low & 0xFFFFu;
    const auto anchor = static_cast<std::uint32_t>(wParam);
    callback.anchorX = static_cast<std::int16_t>(anchor & 0xFFFFu);
    callback.anchorY = static_cast<std::int16_t>(anchor >> 16);
    return callback;
}

TrayOpen TrayClicks::Event_Receive(std::uint32_t event) {
    // The shell reports moves while the pointer rests on the icon; they neither open anything nor
    // end the wait for a release's follow-up.
    if (event == TrayEvent::MouseMove) return TrayOpen::Nothing;
    const std::uint32_t awaited = followUp_;
    followUp_ = 0;
    switch (event) {
        case TrayEvent::LeftButtonUp:
            followUp_ = TrayEvent::Select;
            return TrayOpen::AtCursor;
        case TrayEvent::RightButtonUp:
            followUp_ = TrayEvent::ContextMenu;
            return TrayOpen::AtCursor;
        case TrayEvent::Select:
        case TrayEvent::ContextMenu:
            return event == awaited ? TrayOpen::Nothing : TrayOpen::AtAnchor;
        case TrayEvent::KeySelect:
            return TrayOpen::AtAnchor;
        default:
            return TrayOpen::Nothing;
    }
}
