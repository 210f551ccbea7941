// progress_bar.cpp: redraws the bar in place at most ten times a second.
#include "progress_bar.h"

#include <cstdio>

namespace {
std::chrono::steady_clock::time_point lastDrawn;
bool bDrawn = false;
}  // namespace

void ShowProgress(uint64_t done, uint64_t total, std::chrono::steady_clock::time_point started) {
  const auto now = std::chrono::steady_clock::now();
  if (bDrawn && done < total && now - lastDrawn < std::chrono::milliseconds(100)) return;
  lastDrawn = now;
  bDrawn = true;
  constexpr int kWidth = 40;
  const double fraction = total ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
  const int filled = static_cast<int>(fraction * kWidth);
  char bar[kWidth + 1];
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = '\0';
  const double elapsed = std::chrono::duration<double>(now - started).count();
  const double remaining = done ? elapsed / static_cast<double>(done) * static_cast<double>(total - done) : 0.0;
  std::fprintf(stderr, "\r[%s] %llu/%llu frames  %.1f s elapsed  %.1f s left ", bar,
               static_cast<unsigned long long>(done), static_cast<unsigned long long>(total),
               elapsed, remaining);
  std::fflush(stderr);
}

void FinishProgress() {
  if (bDrawn) std::fputc('\n', stderr);
  bDrawn = false;
}
