// The boundary through which the game and the shell reach sound input, the voice templates
// and the playback of recorded words: the three parts together. Code that needs only one part
// (the model needs only the templates) takes that part.
#pragma once

#include "recognition/CaptureControl.h"
#include "recognition/TemplateStore.h"
#include "recognition/WordPlayer.h"
#include "recognition/WordSlotNumbers.h"

namespace tessimo {

// The parts are virtual bases, so that an implementation may take each part from a class of its
// own (the test fakes do) as well as implement all three in one class (CRecognizer does).
class RecognizerEntryPoints : public virtual CaptureControl,
                              public virtual TemplateStore,
                              public virtual WordPlayer {};

} // namespace tessimo
