// A picture file through the picture loader: any bytes give a whole picture or error 481, nothing else.
#include <cstdint>
#include <cstdlib>

#include "platform/automation/errors.h"
#include "platform/automation/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const ax::PicturePtr picture = ax::pictureFromBytes(data, size);
        // A decoded picture holds exactly the pixels its size says, and has a handle.
        if (picture->Width() <= 0 || picture->Height() <= 0 || picture->Handle() == 0 ||
            picture->pixels().size() != size_t(picture->Width()) * size_t(picture->Height()))
            std::abort();
    } catch (const ax::AutomationError& e) {
        if (e.number() != ax::err::InvalidPicture) std::abort();
    }
    return 0;
}
