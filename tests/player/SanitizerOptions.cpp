// Leak reports this program must not fail on: allocations Qt Multimedia and the sound system
// keep for the process's life, and the backing store Qt's video window never frees when it
// draws without a GPU (offscreen). Full stacks are needed to tell them from our own.
// Read only by the sanitizer runtimes; plain builds never call them.
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:QVideoWindow\n"
           "leak:pa_context_new\n"
           "leak:_dl_init\n";
}
