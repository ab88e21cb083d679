// Registration of user32's window classes: the standard controls (the up-down control is
// comctl32's, registered there).
#include "user32/controls.h"

namespace vintorel::user32 {

void registerBuiltinClasses() {
    registerButtonClass();
    registerEditClass();
    registerStaticClass();
    registerComboBoxClass();
}

void ensureBuiltinClasses() {
    static bool done = false;
    if (!done) {
        done = true;
        registerBuiltinClasses();
    }
}

} // namespace vintorel::user32
