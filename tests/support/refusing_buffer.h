#pragma once
// A stream buffer that takes no byte, as a full disk or a closed pipe: every
// write to a stream over it fails.

#include <streambuf>

namespace vornik::test {

class RefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

} // namespace vornik::test
