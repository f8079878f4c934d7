# The toolchain's hardening, as Debian builds its packages, for every build:
# stack protector, stack clash protection, control-flow protection on x86,
# fortified libc calls where the code is optimised, a position-independent
# program, read-only relocations bound at start, and format strings checked.
#
# Flags the builder passes already (a distribution's CXXFLAGS, CPPFLAGS and
# LDFLAGS, as dpkg-buildflags gives them) win: a flag of the same family
# found there is not added again, so a package build gets each flag once, as
# the distribution chose it.
#
# QUILLMARK_HARDENING_CHECK_ARGS tells the hardening test (tests/) which of
# hardening-check's checks this build cannot pass, and --endbr that the
# programs' functions start with the x86 control-flow mark.
option(QUILLMARK_HARDEN "Build with stack protector, fortify, PIE and full RELRO" ON)
set(QUILLMARK_HARDENING_CHECK_ARGS "")
if(NOT QUILLMARK_HARDEN)
    return()
endif()

include(CheckCXXCompilerFlag)
include(CheckPIESupported)

string(TOUPPER "${CMAKE_BUILD_TYPE}" _harden_type)
set(_harden_given_compile "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${_harden_type}}")
set(_harden_given_link "${CMAKE_EXE_LINKER_FLAGS} ${CMAKE_EXE_LINKER_FLAGS_${_harden_type}}")

# Adds flag unless the builder's flags already say something matching family,
# or the compiler does not know it; _harden_added says whether it did.
function(_harden_compile flag family)
    set(_harden_added OFF PARENT_SCOPE)
    if(_harden_given_compile MATCHES "${family}")
        return()
    endif()
    string(MAKE_C_IDENTIFIER "QUILLMARK_HAS${flag}" known)
    check_cxx_compiler_flag("${flag}" ${known})
    if(${known})
        add_compile_options(${flag})
        set(_harden_added ON PARENT_SCOPE)
    endif()
endfunction()

_harden_compile(-fstack-protector-strong "-f(no-)?stack-protector")
_harden_compile(-fstack-clash-protection "-f(no-)?stack-clash-protection")
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    _harden_compile(-fcf-protection "-f(no-)?cf-protection")
    if(_harden_added OR _harden_given_compile MATCHES "-fcf-protection(=full|=branch)?( |$)")
        list(APPEND QUILLMARK_HARDENING_CHECK_ARGS --endbr)
    endif()
endif()
if(NOT _harden_given_compile MATCHES "format-security")
    add_compile_options(-Wformat -Werror=format-security)
endif()

# _FORTIFY_SOURCE needs the optimiser, and the sanitizers put their own checks
# on the same calls. Level 2, as Debian 12 (GCC 12, glibc 2.36) builds with:
# level 3 would check more sizes at some cost in speed.
string(REGEX MATCHALL "(^| )-O[^ ]*" _harden_levels "${_harden_given_compile}")
list(POP_BACK _harden_levels _harden_level)
string(STRIP "${_harden_level}" _harden_level)
set(_harden_optimised OFF)
if(_harden_level AND NOT _harden_level STREQUAL "-O0")
    set(_harden_optimised ON)
endif()
if(_harden_given_compile MATCHES "_FORTIFY_SOURCE")
    # The builder's choice, fortified where it says so.
elseif(_harden_optimised AND NOT QUILLMARK_SANITIZE AND NOT QUILLMARK_FUZZ)
    add_compile_definitions(_FORTIFY_SOURCE=2)
else()
    list(APPEND QUILLMARK_HARDENING_CHECK_ARGS --nofortify)
endif()

# PIE: position-independent objects, and -pie where the programs link.
check_pie_supported(OUTPUT_VARIABLE _harden_pie_output LANGUAGES CXX)
if(CMAKE_CXX_LINK_PIE_SUPPORTED)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
else()
    message(WARNING "The linker makes no position-independent programs: ${_harden_pie_output}")
    list(APPEND QUILLMARK_HARDENING_CHECK_ARGS --nopie)
endif()

if(NOT _harden_given_link MATCHES "-z[ ,]*(no)?relro")
    add_link_options(LINKER:-z,relro)
endif()
if(NOT _harden_given_link MATCHES "-z[ ,]*(now|lazy)")
    add_link_options(LINKER:-z,now)
endif()

# Control-flow protection marks a program only when every object linked in
# carries the mark, and Debian 12's C start files (crti.o, Scrt1.o) do not:
# no program linked there passes hardening-check's test, whatever its own code.
list(APPEND QUILLMARK_HARDENING_CHECK_ARGS --nocfprotection)
