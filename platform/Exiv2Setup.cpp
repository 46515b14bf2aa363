#include "platform/Exiv2Setup.hpp"

#include <exiv2/exiv2.hpp>

#include <mutex>

namespace brindleaf {

void prepareExiv2() {
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
#ifdef EXV_ENABLE_BMFF
        Exiv2::enableBMFF(true);
#endif
    });
}

} // namespace brindleaf
