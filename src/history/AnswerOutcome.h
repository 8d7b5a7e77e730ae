// The outcome of one answer is a plain value of the music model, shared with the exercise
// engine that produces it.
#pragma once

#include "model/AnswerOutcome.h"
