// sim_fixture.h: a simulated console powered on afresh for each test, on the virtual clock, and
// the hardware back end started on it (or not, for the tests of start-up itself).
#pragma once

#include <gtest/gtest.h>

#include "sim.h"
#include "vkr_gp2xRegisters.h"
#include "vkr_lowLevel.h"

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override { PowerOn(SimConfig{}); }
  void TearDown() override {
    VKR_FreeLowLevelAPI(0);
    SimPowerOff();
  }
  static void PowerOn(SimConfig config) {
    config.realTime = false;
    SimPowerOn(config);
  }
  // Starts the back end on the console; the banner it prints is the test log's business.
  static uint32_t Start() { return VKR_InitLowLevelAPI(""); }
};

class StartedSimTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    ASSERT_EQ(Start(), VKR_OK);
  }
};
