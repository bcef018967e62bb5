// Linked into the programs that unpack a payload. zlib's inflate brings its CRC-32 along (about 8 KB of code
// and tables), which it needs for gzip streams alone. Our payloads are zlib streams, checked by their
// Adler-32, and inflateInit accepts no other kind, so the CRC is never computed. This definition keeps
// zlib's CRC object out of those programs. Should anything ever call it, the program stops at once rather
// than go on with a wrong checksum; should a newer zlib need more of that object, the duplicate
// definition stops the link.
#include <zlib.h>
#include <cstdlib>

extern "C" uLong ZEXPORT crc32(uLong, const Bytef*, uInt) { std::abort(); }
