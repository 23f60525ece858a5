// The resource library needs one translation unit of its own; the compiled-in
// images are attached to it by the build.
namespace resources {
int anchor() {
    return 0;
}
}  // namespace resources
