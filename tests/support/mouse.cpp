#include "tests/support/mouse.h"

#include "tests/support/pump_until.h"

bool MoveCursorTo(POINT screen) {
    return PumpUntil(
        [screen] {
            SetCursorPos(screen.x, screen.y);
            PumpUntil([] { return false; }, 30);
            POINT now;
            return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
        },
        3000);
}
