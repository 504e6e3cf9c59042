// Title and select-screen pictures: logo, group backdrop, symbols, action shots.
#pragma once
#include "canvas.h"
#include "roster.h"

Canvas logo_picture();                        // 640x480, opaque
Canvas group_backdrop();                      // 640x480, opaque: the four fighters
Canvas symbol_picture(const FighterDef& f);   // 64x64, keyed
Canvas action_shot(const FighterDef& f);      // 240x300, keyed
Canvas menu_backdrop();                       // 640x480, opaque: behind the main menu and options
Canvas arcade_ending();                       // 640x480, opaque: the arcade's closing screen
