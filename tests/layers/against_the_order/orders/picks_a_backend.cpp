// A window module that includes the Qt backend: the layer check must name this line.
#include "ui/window.h"
#include "ui/qt/qt_host.h"
