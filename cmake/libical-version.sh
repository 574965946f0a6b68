# The libical source the build uses: Debian's orig tarball of the libical3 source package.
# Read by scripts/fetch-libical.sh and by cmake/Libical.cmake.
LIBICAL_VERSION=3.0.16
LIBICAL_DEBIAN_VERSION=3.0.16-1
LIBICAL_TARBALL=libical3_3.0.16.orig.tar.gz
LIBICAL_SHA256=b44705dd71ca4538c86fb16248483ab4b48978524fb1da5097bd76aa2e0f0c33
