// progress_bar.h: a one-line progress bar on standard error: frames done of total, elapsed time
// and an estimate of the time left.
#pragma once

#include <chrono>
#include <cstdint>

void ShowProgress(uint64_t done, uint64_t total, std::chrono::steady_clock::time_point started);
void FinishProgress();
