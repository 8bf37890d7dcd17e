#pragma once

#include "link/text_source.h"

namespace zephran {

// The English captions of the menu bar built into the program, shown until a language file
// gives the menus their texts.
const TextSource& BuiltInMenuTexts();

}  // namespace zephran
