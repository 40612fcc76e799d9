// The version of the launcher program and of lxpack, which make and read the
// same launchers and are released together.
#pragma once

const char* const kLauncherVersion = "2.47";
