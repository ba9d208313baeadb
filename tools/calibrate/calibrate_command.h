#pragma once
// orvalin-calibrate: the pitch of a ruler on an image, as one JSON object.

#include <iosfwd>
#include <string>
#include <vector>

#include "measure/language.h"

namespace orv {

// Exit codes: 0 a ruler was found, 1 bad arguments or an unreadable image,
// 2 no ruler on the image.
int RunCalibrateCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
                        Language lang);

// Japanese under a Japanese locale (LC_ALL, LC_MESSAGES, LANG), else English.
Language CommandLanguage();

}  // namespace orv
