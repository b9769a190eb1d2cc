#pragma once

#include "platform/DialogTemplate.h"

// The dialog templates of the six pages, by template number.
extern const DialogTemplate kDialog105; // Weapons
extern const DialogTemplate kDialog106; // Gomble Stuff
extern const DialogTemplate kDialog133; // About
extern const DialogTemplate kDialog134; // Server Options
extern const DialogTemplate kDialog135; // Services
extern const DialogTemplate kDialog136; // C.T.F.
