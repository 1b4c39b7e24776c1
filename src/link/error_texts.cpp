#include "link/error_texts.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace d7o::link {

namespace {

struct Meaning {
  int code;
  std::string_view text;
};

// The equipment's errors (+CME ERROR), sorted by code: the general errors, then those of
// the packet domain, which name the network's reject cause (#n) they pass on.
constexpr std::array kCme = std::to_array<Meaning>({
    {0, "phone failure"},
    {1, "no connection to phone"},
    {2, "phone-adaptor link reserved"},
    {3, "operation not allowed"},
    {4, "operation not supported"},
    {5, "PH-SIM PIN required"},
    {6, "PH-FSIM PIN required"},
    {7, "PH-FSIM PUK required"},
    {10, "SIM not inserted"},
    {11, "SIM PIN required"},
    {12, "SIM PUK required"},
    {13, "SIM failure"},
    {14, "SIM busy"},
    {15, "SIM wrong"},
    {16, "incorrect password"},
    {17, "SIM PIN2 required"},
    {18, "SIM PUK2 required"},
    {20, "memory full"},
    {21, "invalid index"},
    {22, "not found"},
    {23, "memory failure"},
    {24, "text string too long"},
    {25, "invalid characters in text string"},
    {26, "dial string too long"},
    {27, "invalid characters in dial string"},
    {30, "no network service"},
    {31, "network timeout"},
    {32, "network not allowed - emergency calls only"},
    {40, "network personalization PIN required"},
    {41, "network personalization PUK required"},
    {42, "network subset personalization PIN required"},
    {43, "network subset personalization PUK required"},
    {44, "service provider personalization PIN required"},
    {45, "service provider personalization PUK required"},
    {46, "corporate personalization PIN required"},
    {47, "corporate personalization PUK required"},
    {48, "hidden key required"},
    {100, "unknown"},
    {103, "illegal MS (#3)"},
    {106, "illegal ME (#6)"},
    {107, "GPRS services not allowed (#7)"},
    {111, "PLMN not allowed (#11)"},
    {112, "location area not allowed (#12)"},
    {113, "roaming not allowed in this location area (#13)"},
    {114, "GPRS services not allowed in this PLMN (#14)"},
    {115, "no suitable cells in location area (#15)"},
    {132, "service option not supported (#32)"},
    {133, "requested service option not subscribed (#33)"},
    {134, "service option temporarily out of order (#34)"},
    {148, "unspecified GPRS error"},
    {149, "PDP authentication failure"},
    {150, "invalid mobile class"},
});

// The message service's errors (+CMS ERROR), sorted by code. Below 128 the network's
// RP-cause of a short message transfer; 128 to 255 the service centre's TP-failure cause;
// from 300 the equipment's own.
constexpr std::array kCms = std::to_array<Meaning>({
    {1, "unassigned (unallocated) number"},
    {8, "operator determined barring"},
    {10, "call barred"},
    {21, "short message transfer rejected"},
    {22, "memory capacity exceeded"},
    {27, "destination out of service"},
    {28, "unidentified subscriber"},
    {29, "facility rejected"},
    {30, "unknown subscriber"},
    {38, "network out of order"},
    {41, "temporary failure"},
    {42, "congestion"},
    {47, "resources unavailable, unspecified"},
    {50, "requested facility not subscribed"},
    {69, "requested facility not implemented"},
    {81, "invalid short message transfer reference value"},
    {95, "semantically incorrect message"},
    {96, "invalid mandatory information"},
    {97, "message type non-existent or not implemented"},
    {98, "message not compatible with short message protocol state"},
    {99, "information element non-existent or not implemented"},
    {111, "protocol error, unspecified"},
    {127, "interworking, unspecified"},
    {128, "telematic interworking not supported"},
    {129, "short message type 0 not supported"},
    {130, "cannot replace short message"},
    {143, "unspecified TP-PID error"},
    {144, "data coding scheme (alphabet) not supported"},
    {145, "message class not supported"},
    {159, "unspecified TP-DCS error"},
    {160, "command cannot be actioned"},
    {161, "command unsupported"},
    {175, "unspecified TP-Command error"},
    {176, "TPDU not supported"},
    {192, "SC busy"},
    {193, "no SC subscription"},
    {194, "SC system failure"},
    {195, "invalid SME address"},
    {196, "destination SME barred"},
    {197, "SM rejected - duplicate SM"},
    {198, "TP-VPF not supported"},
    {199, "TP-VP not supported"},
    {208, "SIM SMS storage full"},
    {209, "no SMS storage capability in SIM"},
    {210, "error in MS"},
    {211, "memory capacity exceeded"},
    {212, "SIM Application Toolkit busy"},
    {213, "SIM data download error"},
    {255, "unspecified error cause"},
    {300, "ME failure"},
    {301, "SMS service of ME reserved"},
    {302, "operation not allowed"},
    {303, "operation not supported"},
    {304, "invalid PDU mode parameter"},
    {305, "invalid text mode parameter"},
    {310, "SIM not inserted"},
    {311, "SIM PIN required"},
    {312, "PH-SIM PIN required"},
    {313, "SIM failure"},
    {314, "SIM busy"},
    {315, "SIM wrong"},
    {316, "SIM PUK required"},
    {317, "SIM PIN2 required"},
    {318, "SIM PUK2 required"},
    {320, "memory failure"},
    {321, "invalid memory index"},
    {322, "memory full"},
    {330, "SMSC address unknown"},
    {331, "no network service"},
    {332, "network timeout"},
    {340, "no +CNMA acknowledgement expected"},
    {500, "unknown error"},
});

template <std::size_t N>
std::optional<std::string_view> lookUp(const std::array<Meaning, N>& table, int code) {
  const auto it = std::lower_bound(table.begin(), table.end(), code,
                                   [](const Meaning& m, int c) { return m.code < c; });
  if (it == table.end() || it->code != code) return std::nullopt;
  return it->text;
}

// Values the message service leaves to applications or to the maker: named as such, since
// the maker's manual is where the technician looks them up.
std::optional<std::string_view> cmsRangeText(int code) {
  if (code >= 224 && code <= 254) return "error specific to an application";
  if (code >= 512) return "manufacturer specific error";
  return std::nullopt;
}

constexpr std::string_view kUnknown = "unknown error";
// More digits than any code has: the rest of a longer number is not read.
constexpr std::size_t kMaxDigits = 6;

}  // namespace

std::optional<std::string_view> cmeErrorText(int code) {
  return lookUp(kCme, code);
}

std::optional<std::string_view> cmsErrorText(int code) {
  if (auto text = lookUp(kCms, code)) return text;
  return cmsRangeText(code);
}

std::optional<ErrorExplanation> explainError(std::string_view reply) {
  static constexpr std::string_view kCmeHead = "+CME ERROR: ";
  static constexpr std::string_view kCmsHead = "+CMS ERROR: ";
  const std::size_t cme = reply.find(kCmeHead);
  const std::size_t cms = reply.find(kCmsHead);
  const std::size_t at = std::min(cme, cms);
  if (at == std::string_view::npos) return std::nullopt;
  const bool isCme = at == cme;

  const std::string_view rest = reply.substr(at + kCmeHead.size());
  std::size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
  // "+CME ERROR: SIM not inserted" says it in words already.
  if (digits == 0) return std::nullopt;

  ErrorExplanation e;
  e.position = at;
  e.length = kCmeHead.size() + digits;
  e.report = std::string(reply.substr(at, e.length));
  int code = -1;
  if (digits <= kMaxDigits) std::from_chars(rest.data(), rest.data() + digits, code);
  const auto text = code < 0 ? std::nullopt : isCme ? cmeErrorText(code) : cmsErrorText(code);
  e.meaning = std::string(text.value_or(kUnknown));
  return e;
}

std::string statusText(const ErrorExplanation& e) {
  return e.report + ": " + e.meaning;
}

}  // namespace d7o::link
