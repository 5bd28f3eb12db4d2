// A run of the desktop front end: the application object and the Qt host live for the call, the
// host answers every message of the run meanwhile.
#pragma once

#include <functional>

#include "ui/qt_host.h"

namespace tsn::ui {

// Creates the application and the host, runs `body` and returns its exit status.
int run_front_end(const std::function<int(QtHost& host)>& body);

}  // namespace tsn::ui
