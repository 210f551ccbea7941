// Decoders that know nothing of our code read the value-change dump of the encoder's bus lines that
// the simulated console wrote: a plain two-wire decoder written here, and sigrok's when installed.
// (ffmpeg reads the caption file of whole runs of copperbramble-sim in the gp2x tests.)
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "caption_fixture.h"
#include "scratch_dir.h"
#include "vkr_gp2xTVEncoder.h"

namespace {

std::string RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  pclose(pipe);
  return output;
}

bool HaveCommand(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// One transfer between a start and the next start or stop: its bytes and whether each was
// acknowledged (SDA low on the ninth clock).
struct Transfer {
  std::vector<int> bytes;
  std::vector<bool> acknowledged;
};

// Reads a value-change dump of signals scl and sda and decodes the two-wire protocol from it.
std::vector<Transfer> DecodeVcd(const std::string& path) {
  std::ifstream in(path);
  std::string line, sclId, sdaId;
  std::vector<Transfer> transfers;
  int scl = 1, sda = 1, bits = 0, shift = 0;
  bool inTransfer = false;
  while (std::getline(in, line)) {
    if (line.rfind("$var", 0) == 0) {
      std::istringstream words(line);
      std::string var, type, width, id, name;
      words >> var >> type >> width >> id >> name;
      (name == "scl" ? sclId : sdaId) = id;
      continue;
    }
    if (line.empty() || (line[0] != '0' && line[0] != '1')) continue;
    const int level = line[0] - '0';
    const std::string id = line.substr(1);
    if (id == sdaId) {
      if (scl && level != sda) {
        if (level == 0) {  // start
          transfers.push_back({});
          inTransfer = true;
        } else {
          inTransfer = false;  // stop
        }
        bits = shift = 0;
      }
      sda = level;
    } else if (id == sclId) {
      if (!scl && level && inTransfer) {
        if (bits < 8) {
          shift = shift << 1 | sda;
          ++bits;
        } else {
          transfers.back().bytes.push_back(shift);
          transfers.back().acknowledged.push_back(sda == 0);
          bits = shift = 0;
        }
      }
      scl = level;
    }
  }
  return transfers;
}

// Register writes as "reg=value" from whole acknowledged transfers to address 0x8A.
std::vector<std::string> RegisterWrites(const std::vector<Transfer>& transfers) {
  std::vector<std::string> writes;
  for (const Transfer& t : transfers) {
    if (t.bytes.size() != 3 || t.bytes[0] != 0x8A) continue;
    if (!(t.acknowledged[0] && t.acknowledged[1] && t.acknowledged[2])) continue;
    char text[8];
    std::snprintf(text, sizeof text, "%02X=%02X", t.bytes[1], t.bytes[2]);
    writes.push_back(text);
  }
  return writes;
}

}  // namespace

TEST_F(CaptionTest, BusDumpDecodesToTheRegisterWrites) {
  ScratchDir scratch("captions_vcd");
  SimConfig config;
  config.tv = SimTV::Ntsc;
  config.busDumpPath = (scratch.path() / "bus.vcd").string();
  TVConsole_PowerOnWith(config, 6);
  GP2X_SwitchTVOutput(6, 20);
  uint8_t status = 0xFF;
  ASSERT_EQ(VKR_InCX25874(0x02, &status), VKR_OK);
  ASSERT_EQ(VKR_WriteCloseCaption(0x94A7), VKR_OK);
  SIM_CX25874_SetFault(true);
  VKR_OutCX25874(0x8C, 0x43);
  TVConsole_PowerOff();  // closes the dump

  const std::vector<Transfer> transfers = DecodeVcd("bus.vcd");
  const std::vector<std::string> writes = RegisterWrites(transfers);
  ASSERT_EQ(writes.size(), 36u + 1 + 2);
  EXPECT_EQ(writes[0], "38=10");
  EXPECT_EQ(writes[1], "76=C0");  // PAL
  EXPECT_EQ(writes[35], "6C=C6");
  EXPECT_EQ(writes[36], "8C=43");
  EXPECT_EQ(writes[37], "C0=94");
  EXPECT_EQ(writes[38], "C2=A7");
  // The status read: register number, then the read address and the encoder's byte.
  bool sawRead = false;
  for (size_t i = 1; i < transfers.size(); ++i)
    if (transfers[i].bytes.size() == 2 && transfers[i].bytes[0] == 0x8B &&
        transfers[i - 1].bytes == std::vector<int>{0x8A, 0x02})
      sawRead = transfers[i].acknowledged[0] && transfers[i].bytes[1] == 0;
  EXPECT_TRUE(sawRead);
  // The faulted write: its address byte goes unacknowledged.
  ASSERT_FALSE(transfers.back().bytes.empty());
  EXPECT_EQ(transfers.back().bytes[0], 0x8A);
  EXPECT_FALSE(transfers.back().acknowledged[0]);

  if (!HaveCommand("sigrok-cli")) GTEST_SKIP() << "sigrok-cli not installed";
  // sigrok's decoder: each write block to address 0x45 with two data bytes is a register write.
  std::istringstream decoded(RunCommand(
      "sigrok-cli -i bus.vcd -I vcd:compress=2000 -P i2c:scl=scl:sda=sda "
      "-A i2c=address-write:data-write 2>&1"));
  std::vector<std::string> sigrokWrites;
  std::string line, current;
  int dataBytes = 0;
  while (std::getline(decoded, line)) {
    if (line.find("Address write: 45") != std::string::npos) {
      current.clear();
      dataBytes = 0;
    } else if (const size_t at = line.find("Data write: "); at != std::string::npos) {
      current += (dataBytes++ ? "=" : "") + line.substr(at + 12, 2);
      if (dataBytes == 2) sigrokWrites.push_back(current);
    }
  }
  EXPECT_EQ(sigrokWrites, writes);
}
