#pragma once
// Where a test program finds its data and the programs it runs. CMake writes
// them into a small source of each test program's build folder
// (<programa>_caminhos.cpp): no test source carries an absolute path, so a
// clone of the tree in another folder still hits the compiler cache.

// This test program's folder under tests/ (its fixtures).
extern const char kFonteTestes[];
// The root of the source tree and the build folder.
extern const char kRaizProjeto[];
extern const char kPastaBuild[];
// The built etiquetas-cli; empty in a build without it.
extern const char kProgramaCli[];
