// vkr_webThreads.cpp: SDL 1.2's threads on a web page, which runs the program on one thread: a
// thread cannot be made, and saying so gives the caller an error result where the browser's SDL
// would stop the whole program. The page's host runs the second core on the program's thread.
#include <SDL.h>
#include <SDL_thread.h>

SDL_Thread* SDL_CreateThread(SDL_ThreadFunction, void*) {
  SDL_SetError("a web page runs the program on one thread");
  return nullptr;
}

void SDL_WaitThread(SDL_Thread*, int* status) {
  if (status) *status = 0;
}
