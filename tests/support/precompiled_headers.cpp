// Compiled only so that its targets make the precompiled headers that every test program
// reuses (tests/CMakeLists.txt); it holds no code.
