#pragma once
// A spin arrow as the layer reports it to a page: the up arrow is a negative delta.
#include "platform/dialog.h"

inline void Spin(platform::Dialog& page, int id, int delta) {
    platform::Notify n;
    n.id = id;
    n.code = platform::Notification::SpinDelta;
    n.delta = delta;
    page.DispatchNotify(n);
}
