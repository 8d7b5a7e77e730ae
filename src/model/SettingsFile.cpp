// Reading and writing the 516-byte settings file.
#include "model/SettingsRecord.h"

namespace tessimo {

// Not written yet: the settings file format comes with the foundation work.
int SettingsRecord::load(const std::string&) {
    return -1;
}
int SettingsRecord::save(const std::string&) const {
    return -1;
}

} // namespace tessimo
