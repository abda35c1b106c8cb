// The IP change dialogs' templates hold IP address controls and a progress
// bar. Each dialog registers those classes itself, so that none depends on
// what the program registered at start-up.
#pragma once

void RegisterChangeControlClasses();
