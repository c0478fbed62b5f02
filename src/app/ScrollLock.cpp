#include "app/ScrollLock.h"

#include <QGuiApplication>

#if VANTOR_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace vantor {
namespace {

std::optional<bool> g_override;

#if VANTOR_HAVE_XCB
// LED mask of the core keyboard: bit 0 Caps Lock, bit 1 Num Lock, bit 2 Scroll Lock.
constexpr uint32_t kScrollLockLed = 1u << 2;

bool readX11ScrollLock() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return false;
  const xcb_get_keyboard_control_cookie_t cookie = xcb_get_keyboard_control(connection);
  xcb_get_keyboard_control_reply_t* reply =
      xcb_get_keyboard_control_reply(connection, cookie, nullptr);
  if (!reply) return false;
  const bool on = (reply->led_mask & kScrollLockLed) != 0;
  std::free(reply);
  return on;
}
#endif

}  // namespace

bool ScrollLockOn() {
  if (g_override) return *g_override;
#if VANTOR_HAVE_XCB
  return readX11ScrollLock();
#else
  return false;
#endif
}

void SetScrollLockOverride(std::optional<bool> state) {
  g_override = state;
}

}  // namespace vantor
