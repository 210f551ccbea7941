// sim_recorder.h: the simulated console as a recording host: a program (the options' program)
// recorded on the virtual clock through the recorder's library, a picture at every frame the
// display begins.
#pragma once

#include "recording.h"
#include "sim.h"

// Records the program on a console powered on with this configuration (the virtual clock, and the
// recording's frame rate as the display's); the configuration is kept for RecordOnSimulatedConsole.
void SimRecorder_SetConfig(const SimConfig& config);
// Whether the television's captions are drawn into the pictures recorded (video, bitmaps, stills
// and digests alike), as a television with captions on shows them; off unless asked for.
void SimRecorder_SetBurnCaptions(bool burn);
RecorderResult RecordOnSimulatedConsole(const RecorderOptions& options);
