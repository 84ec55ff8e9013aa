/* Stands in for a library someone put beside the program under a system
   library's name. A loaded module that exports this is the planted one. */
__declspec(dllexport) int plantedLibrary(void)
{
    return 1;
}
