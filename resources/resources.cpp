// The library holds only compiled-in resources; this file gives it something to compile.
namespace brindleaf::resources {
[[maybe_unused]] constexpr int version = 1;
} // namespace brindleaf::resources
