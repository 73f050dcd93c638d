#include "common/Cp932Encoder.h"

#if defined(__GLIBC__)
#include "common/IconvCp932Encoder.h"
#else
#error "No code page 932 converter for this platform: add a Cp932Encoder implementation."
#endif

namespace setzaiko {

std::unique_ptr<Cp932Encoder> Cp932Encoder::create()
{
    return std::make_unique<IconvCp932Encoder>();
}

} // namespace setzaiko
