// A shell file that reaches up into a subsystem's window: the layer check must name this line.
#include "shell/app_state.h"
#include "orders/order_list_panel.h"
