#include "ppd/codepage.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#endif

namespace vornik {

namespace {

#ifdef _WIN32

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// Converts the whole text into a buffer of its own, then keeps what fits.
int ConvertAndCut(const char* bytes, char16_t* out, int capacity) {
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes, -1, nullptr, 0);
  if (needed <= 0) return 0;
  auto* whole = static_cast<WCHAR*>(std::malloc(sizeof(WCHAR) * static_cast<size_t>(needed)));
  if (whole == nullptr) return 0;
  int count = 0;
  if (MultiByteToWideChar(CP_ACP, 0, bytes, -1, whole, needed) > 0) {
    count = needed - 1 < capacity - 1 ? needed - 1 : capacity - 1;
    if (count > 0 && IsHighSurrogate(static_cast<char16_t>(whole[count - 1]))) --count;
    std::memcpy(out, whole, sizeof(WCHAR) * static_cast<size_t>(count));
  }
  std::free(whole);
  return count;
}

#else  // !_WIN32

constexpr unsigned kDefaultCodePage = 1252;
constexpr unsigned kUtf8CodePage = 65001;
constexpr char16_t kReplacement = 0xFFFD;

std::atomic<unsigned> selectedCodePage{kDefaultCodePage};

// Code page 1252 from 0x80 to 0x9F as Windows converts it: the five
// unassigned bytes keep their own value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int ConvertCp1252(const char* bytes, char16_t* out, int capacity) {
  int count = 0;
  for (; bytes[count] != 0 && count < capacity - 1; ++count) {
    const auto byte = static_cast<unsigned char>(bytes[count]);
    out[count] = byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t{byte};
  }
  return count;
}

iconv_t OpenConverter(unsigned codePage) {
  char name[24];
  if (codePage == kUtf8CodePage) {
    std::snprintf(name, sizeof name, "UTF-8");
  } else {
    std::snprintf(name, sizeof name, "CP%u", codePage);
  }
  return iconv_open("UTF-16LE", name);
}

bool IsOpen(iconv_t converter) { return converter != reinterpret_cast<iconv_t>(-1); }

// iconv stores only whole characters, so an output that runs full ends at a
// character boundary. Bytes that do not convert become U+FFFD, as Windows
// does without MB_ERR_INVALID_CHARS.
int ConvertIconv(unsigned codePage, const char* bytes, char16_t* out, int capacity) {
  iconv_t converter = OpenConverter(codePage);
  if (!IsOpen(converter)) return 0;
  const size_t outBytes = 2 * static_cast<size_t>(capacity - 1);
  auto* staging = static_cast<unsigned char*>(std::malloc(outBytes + 2));
  if (staging == nullptr) {
    iconv_close(converter);
    return 0;
  }
  char* in = const_cast<char*>(bytes);
  size_t inLeft = std::strlen(bytes);
  char* outPtr = reinterpret_cast<char*>(staging);
  size_t outLeft = outBytes;
  while (inLeft > 0) {
    if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    const int error = errno;
    if ((error != EILSEQ && error != EINVAL) || outLeft < 2) break;
    *outPtr++ = static_cast<char>(kReplacement & 0xFF);
    *outPtr++ = static_cast<char>(kReplacement >> 8);
    outLeft -= 2;
    if (error == EINVAL) break;  // an incomplete character ends the text
    ++in;
    --inLeft;
  }
  iconv(converter, nullptr, nullptr, &outPtr, &outLeft);
  iconv_close(converter);
  const int count = static_cast<int>((outBytes - outLeft) / 2);
  for (int i = 0; i < count; ++i) {
    out[i] = static_cast<char16_t>(staging[2 * i] | (staging[2 * i + 1] << 8));
  }
  std::free(staging);
  return count;
}

#endif  // _WIN32

}  // namespace

int AnsiToUtf16(const char* bytes, char16_t* out, int capacity) {
  if (out == nullptr || capacity < 1) return 0;
  out[0] = 0;
  if (bytes == nullptr) return 0;
  int count = 0;
#ifdef _WIN32
  const int converted =
      MultiByteToWideChar(CP_ACP, 0, bytes, -1, reinterpret_cast<WCHAR*>(out), capacity);
  if (converted > 0) {
    count = converted - 1;
  } else if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    count = ConvertAndCut(bytes, out, capacity);
  }
#else
  const unsigned codePage = selectedCodePage.load();
  count = codePage == kDefaultCodePage ? ConvertCp1252(bytes, out, capacity)
                                       : ConvertIconv(codePage, bytes, out, capacity);
#endif
  out[count] = 0;
  return count;
}

#ifdef _WIN32

unsigned AnsiCodePage() { return GetACP(); }

bool AnsiCodePageKeepsAscii() { return true; }

bool SelectAnsiCodePage(unsigned /*codePage*/) { return false; }

#else

unsigned AnsiCodePage() { return selectedCodePage.load(); }

bool AnsiCodePageKeepsAscii() {
  // The Windows ANSI code pages and UTF-8; other code pages that iconv knows
  // (EBCDIC ones, for instance) take the full conversion.
  const unsigned codePage = selectedCodePage.load();
  return codePage == 874 || codePage == 932 || codePage == 936 || codePage == 949 ||
         codePage == 950 || (codePage >= 1250 && codePage <= 1258) || codePage == kUtf8CodePage;
}

bool SelectAnsiCodePage(unsigned codePage) {
  if (codePage != kDefaultCodePage) {
    iconv_t converter = OpenConverter(codePage);
    if (!IsOpen(converter)) return false;
    iconv_close(converter);
  }
  selectedCodePage.store(codePage);
  return true;
}

#endif

}  // namespace vornik
