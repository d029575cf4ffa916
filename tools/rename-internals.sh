#!/usr/bin/env bash
# Renames the C++ names the language reserves (a leading underscore and a
# capital letter, or a double underscore anywhere) to the project's spelling
# of internal names: the leading underscores go, runs of underscores inside
# the name become one, and one trailing underscore is appended.
#
#   _Fire -> Fire_      __Layer -> Layer_      __UpdateState -> UpdateState_
#
# Usage: tools/rename-internals.sh [folder]    (default: the repository root)
#
# It edits C and C++ sources and headers in place (code, comments and string
# literals alike: a name is a word, wherever it stands). Inside a git work
# tree it reads the files git knows or would add (ignored build folders stay
# untouched); elsewhere every source under the folder. Names the compiler and
# the system libraries own (__func__, __FILE__, _WIN32, __builtin_*, ...) are
# kept; see KEEP_NAMES and KEEP_PREFIXES below.
#
# Running it again changes nothing: renamed names are no longer reserved.
#
# Before it edits anything it refuses, and edits nothing, when two names would
# become one or a new name is already used somewhere in the folder, unless
# OVERRIDES below names the old name; pick the mapping there by hand.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
folder=${1:-$root}
if [[ ! -d $folder ]]; then
  echo "rename-internals: no such folder: $folder" >&2
  exit 2
fi

# Hand-picked mappings: "old new  reason". An old name listed here is renamed
# as given and passes the collision checks.
OVERRIDES='
_DrawMembers   DrawMembers_  LayerGroup and GuiGroup are unrelated classes; both keep the name
__DrawMembers  DrawMembers_  (see _DrawMembers)
__released     released_     only a label in a test log; the input devices own the field released_
'

# Reserved-looking names that belong to the compiler or the system headers.
KEEP_NAMES='
__func__ __FUNCTION__ __PRETTY_FUNCTION__ __FILE__ __LINE__ __DATE__ __TIME__
__COUNTER__ __VA_ARGS__ __VA_OPT__ __cplusplus __STDC__ __STDC_VERSION__
__GNUC__ __GNUC_MINOR__ __GNUC_PATCHLEVEL__ __clang__ __clang_major__
__clang_minor__ __linux__ __unix__ __APPLE__ __MACH__ __MINGW32__ __MINGW64__
__EMSCRIPTEN__ __ANDROID__ __x86_64__ __i386__ __aarch64__ __arm__ __SSE2__
__SANITIZE_ADDRESS__ __SANITIZE_THREAD__ __OPTIMIZE__ __NO_INLINE__
__BYTE_ORDER__ __ORDER_LITTLE_ENDIAN__ __ORDER_BIG_ENDIAN__ __CHAR_BIT__
__attribute__ __asm__ __asm __typeof__ __extension__ __restrict __restrict__
__inline __inline__ __declspec __cdecl __stdcall __fastcall __forceinline
__int64 __int128 __float128 __fp16 __bf16 __m64 __m128 __m128i __m128d __m256
__m256i __m256d __m512 __m512i __m512d
_Pragma _Bool _Complex _Imaginary _Atomic _Alignas _Alignof _Generic
_Noreturn _Static_assert _Thread_local _Float16 _Float32 _Float64 _Float128
_WIN32 _WIN64 _MSC_VER _MSC_FULL_VER _DEBUG _NDEBUG _GNU_SOURCE
_DEFAULT_SOURCE _BSD_SOURCE _XOPEN_SOURCE _FILE_OFFSET_BITS
_LARGEFILE_SOURCE _LARGEFILE64_SOURCE _FORTIFY_SOURCE _REENTRANT
_USE_MATH_DEFINES _CRT_SECURE_NO_WARNINGS _IOFBF _IOLBF _IONBF
_O_BINARY _O_TEXT _MAX_PATH _Exit
'
KEEP_PREFIXES='__builtin_ __atomic_ __sync_ __cxa_ __cxxabi __gnu_ __asan_ __lsan_
__ubsan_ __tsan_ __msan_ __sanitizer_ __has_ __is_ __STDC_ __SIZEOF_ __INT
__UINT __FLT __DBL __LDBL __GLIBC _GLIBCXX_ _LIBCPP_ _POSIX_ _SC_ _PC_ _CS_ _ISOC'

files=()
if git -C "$folder" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  while IFS= read -r -d '' f; do
    [[ -f $folder/$f ]] && files+=("$folder/$f")
  done < <(git -C "$folder" ls-files -z --cached --others --exclude-standard -- \
    '*.h' '*.hh' '*.hpp' '*.hxx' '*.inl' '*.ipp' '*.c' '*.cc' '*.cpp' '*.cxx')
else
  while IFS= read -r -d '' f; do
    files+=("$f")
  done < <(find "$folder" \( -name .git -o -name 'build*' \) -prune -o -type f \
    \( -name '*.h' -o -name '*.hh' -o -name '*.hpp' -o -name '*.hxx' -o -name '*.inl' \
    -o -name '*.ipp' -o -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx' \) \
    -print0)
fi
if (( ${#files[@]} == 0 )); then
  echo "rename-internals: no C or C++ sources under $folder"
  exit 0
fi

OVERRIDES=$OVERRIDES KEEP_NAMES=$KEEP_NAMES KEEP_PREFIXES=$KEEP_PREFIXES \
perl -e '
use strict;
use warnings;

my %keep = map { $_ => 1 } split " ", $ENV{KEEP_NAMES};
my @prefixes = split " ", $ENV{KEEP_PREFIXES};
my %override;
for my $line (split /\n/, $ENV{OVERRIDES}) {
    my ($old, $new) = split " ", $line;
    $override{$old} = $new if defined $new;
}

sub reserved {
    my ($word) = @_;
    return 0 unless $word =~ /^_[A-Z]/ || $word =~ /__/;
    return 0 if $keep{$word};
    for my $p (@prefixes) { return 0 if index($word, $p) == 0; }
    return 1;
}

sub spelled {
    my ($word) = @_;
    return $override{$word} if exists $override{$word};
    (my $name = $word) =~ s/^_+//;
    $name =~ s/_+$//;
    $name =~ s/_{2,}/_/g;
    return $name . "_";
}

my $word_re = qr/(?<![A-Za-z0-9_])[A-Za-z_][A-Za-z0-9_]*/;
my (%text, %words, %map);
for my $file (@ARGV) {
    open my $in, "<", $file or die "rename-internals: $file: $!\n";
    local $/;
    $text{$file} = <$in>;
    close $in;
    for my $w ($text{$file} =~ /$word_re/g) {
        $words{$w} = 1;
        $map{$w} = spelled($w) if reserved($w);
    }
}
unless (%map) { print "rename-internals: nothing to rename\n"; exit 0; }

my (%by_new, @problems);
for my $old (sort keys %map) { push @{ $by_new{ $map{$old} } }, $old; }
for my $new (sort keys %by_new) {
    my @olds = @{ $by_new{$new} };
    my @unpicked = grep { !exists $override{$_} } @olds;
    next unless @unpicked;
    push @problems, "both " . join(" and ", @olds) . " would become $new" if @olds > 1;
    push @problems, "$unpicked[0] would become $new, which is already used" if $words{$new};
}
if (@problems) {
    print STDERR "rename-internals: nothing changed; add a mapping to OVERRIDES:\n";
    print STDERR "  $_\n" for @problems;
    exit 1;
}

my $pattern = join "|", map { quotemeta } sort { length $b <=> length $a } keys %map;
my $changed = 0;
for my $file (sort keys %text) {
    my $t = $text{$file};
    next unless $t =~ s/(?<![A-Za-z0-9_])($pattern)(?![A-Za-z0-9_])/$map{$1}/g;
    open my $out, ">", $file or die "rename-internals: $file: $!\n";
    print $out $t;
    close $out or die "rename-internals: $file: $!\n";
    ++$changed;
}
printf "rename-internals: %d names renamed in %d files\n", scalar(keys %map), $changed;
for my $old (sort keys %map) { print "  $old -> $map{$old}\n"; }
' "${files[@]}"
