// The program's one state record.
#include "app/app_state.h"

AppState app;
