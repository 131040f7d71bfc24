// The English resource module: a shared library that holds nothing but Qt
// resources (the English translations of the station's windows and the
// English pictures), registered as the library is loaded. The program loads
// it by name only when English is chosen.

#include <QtGlobal>

extern "C" Q_DECL_EXPORT int ResEngModuleVersion() {
    return 1;
}
