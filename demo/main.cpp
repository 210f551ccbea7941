// main.cpp: the demo's run: start-up, loading screen, music and resource pack, the frame loop of
// the one demo part against the demo clock, the end sequence that hands the display back clean,
// and the shutdown in its fixed order.
#include <SDL.h>
#include <mikmod.h>

#include <cstdio>
#include <cstring>

#include "cc_greetings.h"
#include "demo_layout.h"
#include "demo_main.h"
#include "dp_intro.h"
#include "resource_pack.h"
#include "tinymenu_vol.h"
#include "vkr_lowLevel.h"

namespace {

constexpr const char* kTitle = "Copperbramble / Velkamora";
constexpr const char* kMusicFile = "main.it";

struct LoadingLine {
  int column, row;
  const char* text;
};
constexpr LoadingLine kLoadingScreen[] = {
    {12, 10, "Loading  Music"},
    {4, 12, "Varnek Thalor FastCompo 2010"},
    {17, 20, " Code.Tarnwick"},
    {17, 21, "  Gfx.Morrowen"},
    {17, 22, "Music.Quillsworth"},
};

int OutputKindOfMode(uint32_t mode) { return mode <= 4 ? 0 : mode <= 18 ? 1 : 2; }

// The display mode the demo runs in: 320 x 240, 720 x 480 or 720 x 576.
uint32_t DemoDisplayMode(int outputKind) { return outputKind == 0 ? 0 : outputKind == 1 ? 6 : 20; }

// Why the library did not start, in words naming what failed.
const char* StartUpFailure() {
#if defined(VKR_BACKEND_DESKTOP)
  return SDL_GetError();
#else
  return VKR_GetStartUpError();
#endif
}

void PresentFrame() {
#if defined(VKR_BACKEND_DESKTOP)
  VKR_LowLevelAPI_SoftRender();
#endif
}

void ShowLoadingScreen() {
  VKR_DbgClrScr(13, 11);
  VKR_SetRGBStartAddress(0);
  VKR_DbgColor(13, 11);
  for (const LoadingLine& line : kLoadingScreen) {
    VKR_DbgGotoXY(line.column, line.row);
    VKR_OUTPUT_DEBUG(0, 0, "%s", line.text);
  }
  VKR_DbgDrawScr(0, 0);
  PresentFrame();
}

void SwitchRegionsOff(uint32_t lastRegion) {
  for (uint32_t region = 1; region <= lastRegion; ++region)
    VKR_SetRGBRegionOperation(region, 0, 0, 0, 0, 0, 0, 0, 0);
}

// Plane A off, regions reset, page 0 cleared and shown through region 5, start-up mode back.
void EndSequence(uint32_t savedMode, int savedDepth, const VKR_CCG_State& captions) {
  VKR_SetYUVVideoPlane(1, 0, 0, 0, 319, 240, 240, 320, 0, 0, 0, 0, 0, 0);
  SwitchRegionsOff(4);
  VKR_SetYUVVideoPlaneScaler(1, 1, 1024, 1024);
  VKR_SetYUVVideoPlaneScaler(1, 0, 1024, 1024);
  VKR_SetYUVVideoPlanePriority(1);
  VKR_HwBitBlt(0, 720, 720, 576, kDemoKeyPageBegin, 720, 0, 0, 0, 0);
  VKR_WaitVSync();
  VKR_SetRGBStartAddress(0);
  VKR_SetRGBRegionOperation(5, 1, 1, 0, 0, 0, 0, 0, 0);
  VKR_CCG_Erase(captions);
  VKR_SetDisplayMode(savedMode, savedDepth);
}

// Loads the music; a file that does not load is named with libmikmod's reason, and the demo
// plays on without music (a broken file would otherwise sound like a quiet passage).
MODULE* LoadMusic() {
  MikMod_errno = 0;
  MODULE* module = Player_Load(kMusicFile, 64, 0);
  if (!module)
    std::fprintf(stderr, "copperbramble: the music %s did not load (%s); playing on without it\n",
                 kMusicFile, MikMod_errno ? MikMod_strerror(MikMod_errno) : "no reason given");
  return module;
}

// libmikmod links its loaders in one list for the life of the process and does not look for one
// already there: a second registration would link the loader to itself, and a file that no loader
// knows would then be offered to it for ever. A demo run again in the same process registers it
// once.
// libmikmod lists its loaders by their names, the IT loader's "IT (Impulse Tracker)".
void RegisterITLoader() {
  CHAR* loaders = MikMod_InfoLoader();
  const bool registered = loaders && std::strstr(loaders, "(Impulse Tracker)");
  MikMod_free(loaders);
  if (!registered) MikMod_RegisterLoader(&load_it);
}

// Tries each driver in turn: libmikmod's own detection stops at the first driver that says it is
// present, even when that one then fails to open. Drivers are found by alias, since libmikmod
// keeps every driver ever registered in the process.
bool StartMusicOutput(MDRIVER* const* drivers) {
  for (; drivers && *drivers; ++drivers) {
    md_device = static_cast<UWORD>(MikMod_DriverFromAlias((*drivers)->Alias));
    if (md_device != 0 && MikMod_Init("") == 0) return true;
  }
  return false;
}

}  // namespace

int VKR_Demo_Run(const DemoHost& host) {
  const DemoPart part = {kDemoPartStartMs, kDemoPartEndMs, VKR_DP_Intro_Reset,
                         VKR_DP_Intro_Paint};
  DemoReport unwatched;
  DemoReport& report = host.report ? *host.report : unwatched;
  report = DemoReport{};

  SDL_Init(SDL_INIT_AUDIO);
  if (VKR_InitLowLevelAPI(kTitle) != VKR_OK) {
    std::fprintf(stderr, "copperbramble: cannot start the library: %s\n", StartUpFailure());
    VKR_FreeLowLevelAPI(0);
    SDL_Quit();
    return 1;
  }
  std::puts("Copperbramble / Velkamora\n");
  std::puts("Have you try this tiny demo with TV-Out + CloseCaption1?");
  std::fflush(stdout);

  uint32_t savedMode = 0;
  int savedDepth = 16;
  VKR_GetDisplayMode(&savedMode, &savedDepth);
  const int outputKind = OutputKindOfMode(savedMode);
  const int lcd = outputKind == 0, pal = outputKind == 2;
  VKR_CCG_State captions = VKR_CCG_Init(outputKind);

  VKR_TMV_Vol_Initialize(lcd, pal);
  VKR_TMV_TinyMenu_Initialize(lcd, pal);

  MDRIVER* const* drivers = host.registerMusicDrivers ? host.registerMusicDrivers() : nullptr;
  RegisterITLoader();
  md_mixfreq = 22050;
  md_mode = DMODE_16BITS | DMODE_STEREO | DMODE_SOFT_SNDFX | DMODE_SOFT_MUSIC;
  const bool musicStarted = StartMusicOutput(drivers);

  MODULE* module = nullptr;
  int status = 0;
  if (!musicStarted) {
    std::printf("Could not init sound: %s\n", MikMod_strerror(MikMod_errno));
    status = 1;
  } else {
    VKR_SetDisplayMode(DemoDisplayMode(outputKind), 16);
    ShowLoadingScreen();
    module = LoadMusic();
    VKR_CCG_HoldLoadingScreen(captions);
    SwitchRegionsOff(5);

    uint8_t* videoBase = nullptr;
    VKR_GetVideoBasePtr(&videoBase);
    if (!VKR_ResourcePack_Load(videoBase, outputKind)) {
      std::fprintf(stderr, "copperbramble: cannot open resource.dat in the working directory\n");
      status = 1;
    } else {
      VKR_CCG_SetUpEncoder(captions);
      part.reset();
      if (module) {
        Player_Start(module);
        Player_SetVolume(static_cast<SWORD>(VKR_TMV_Vol_GetVolume()));
      }
      VKR_DP_Intro_Init(outputKind, 0);
      VKR_TMV_Start_Absolute_Timer();

      uint32_t current = 0, previous = 0, now = 0;
      for (;;) {
        VKR_GetGP2XInputState(&current);
        HandleVolAndTinyMenu(current, previous);
        if (VKR_TMV_TinyMenu_GetState() == 0) {
          now = VKR_TMV_Retrieve_Absolute_Timer();
          VKR_CCG_Advance(captions, now);
          if (part.startMs <= now && now < part.endMs) {
            part.paint(now - part.startMs, part.endMs - part.startMs, outputKind, 0);
            ++report.paints;
            report.lastPaintMs = now - part.startMs;
            if (host.painted) host.painted(report.lastPaintMs);
          }
          if (Player_Active()) MikMod_Update();
        }
        VKR_CCG_Drain(captions, now);
        VKR_WaitVSync();
        PresentFrame();
        ++report.frames;
        previous = current;
        if (VKR_TMV_TinyMenu_GetState() == 2) {
          report.exitChosen = true;
          break;
        }
        if (host.endRequested && host.endRequested()) {
          report.endRequested = true;
          break;
        }
        if (now >= part.endMs) break;
      }
    }
    EndSequence(savedMode, savedDepth, captions);
  }

  VKR_DualCoreStop();
  if (musicStarted) {
    Player_Stop();
    if (module) Player_Free(module);
    MikMod_Exit();
  }
  VKR_FreeLowLevelAPI(1);
  VKR_DelayMS(500);
  SDL_Quit();
  return status;
}
