/* Planted beside the program under a system library's name: a loaded
   module that exports this is the plant. */
__declspec(dllexport) int plantedLibrary(void) { return 1; }
