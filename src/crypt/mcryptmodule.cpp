#include "crypt/mcryptmodule.h"

#include <mcrypt.h>

namespace kryptane {

bool CipherModule::open(const char* algorithm, bool stream, const unsigned char* key,
                        int keyLength) {
    close();
    // The library's interface takes non-const strings but does not change them.
    char ecb[] = "ecb";
    char streamMode[] = "stream";
    MCRYPT td = mcrypt_module_open(const_cast<char*>(algorithm), nullptr, stream ? streamMode : ecb,
                                   nullptr);
    if (td == MCRYPT_FAILED)
        return false;
    if (mcrypt_generic_init(td, const_cast<unsigned char*>(key), keyLength, nullptr) < 0) {
        mcrypt_module_close(td);
        return false;
    }
    handle_ = td;
    return true;
}

void CipherModule::encrypt(unsigned char* data, int length) {
    if (handle_ && length > 0)
        mcrypt_generic(static_cast<MCRYPT>(handle_), data, length);
}

void CipherModule::decrypt(unsigned char* data, int length) {
    if (handle_ && length > 0)
        mdecrypt_generic(static_cast<MCRYPT>(handle_), data, length);
}

void CipherModule::close() {
    if (!handle_)
        return;
    MCRYPT td = static_cast<MCRYPT>(handle_);
    handle_ = nullptr;
    mcrypt_generic_deinit(td);
    mcrypt_module_close(td);
}

} // namespace kryptane
