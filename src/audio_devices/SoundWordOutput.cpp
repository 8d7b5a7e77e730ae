#include "audio_devices/SoundWordOutput.h"

#include "sound/SoundOutput.h"

namespace tessimo {

bool SoundWordOutput::playWord(const std::int16_t* samples, std::size_t count) {
    if (!output_.playWord(samples, count))
        return false;
    if (onPlaying_)
        onPlaying_();
    return true;
}

void SoundWordOutput::stopWord() {
    output_.stopWord();
}

} // namespace tessimo
