# The two commands of the README: `make run` and `make test`. Each installs the
# Debian packages it needs when they are missing. The configurations are the
# presets of CMakePresets.json, which an IDE or `cmake --preset` builds alike.
# No target ever overwrites or deletes a Wahl.txt: the player's records live in it.

BUILD_RUN   := build/release
BUILD_TEST  := build/test
JOBS        := $(shell nproc 2>/dev/null || echo 2)

RUN_PACKAGES  := cmake make g++ pkg-config qt6-base-dev libxcb1-dev fonts-dejavu-core \
                 libcanberra-dev sound-theme-freedesktop qt6-translations-l10n
SOUND_PACKAGES := pulseaudio pulseaudio-utils libcanberra-pulse
TEST_PACKAGES := $(RUN_PACKAGES) xvfb xauth xdotool x11-apps python3 locales \
                 desktop-file-utils appstream openbox x11-utils tzdata $(SOUND_PACKAGES) \
                 dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0 \
                 weston qt6-wayland imagemagick xsettingsd libfaketime \
                 xdg-desktop-portal xdg-desktop-portal-gtk dconf-service dconf-gsettings-backend \
                 libglib2.0-bin gsettings-desktop-schemas
BENCH_PACKAGES := $(RUN_PACKAGES) xvfb xauth x11-utils python3 valgrind strace $(SOUND_PACKAGES)

PREFIX      ?= $(HOME)/.local

.PHONY: all run build test test-debian13 deb test-package test-package-debian13 bench fuzz install uninstall \
        deps-run deps-test clean

all: build

deps-run:
	@tools/ensure-packages $(RUN_PACKAGES)

deps-test:
	@tools/ensure-packages $(TEST_PACKAGES)
	@tools/ensure-locale

build: deps-run
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

run: build
	$(BUILD_RUN)/Hopsala1

test: deps-test
	cmake --preset test
	cmake --build --preset test -j $(JOBS)
	ctest --preset test -j $(JOBS)

# The same make test on a fresh clone of HEAD in a Debian 13 chroot of its
# own (as root; the base system is kept in ~/.cache/hopsala/debian13).
test-debian13:
	tools/debian-chroot 13 'make test'

# The Debian package for every player of the machine, built on this
# machine's Debian: build/deb/hopsala_<version>-1_<arch>.deb.
deb:
	tools/make-deb

# The package's checks (lintian, piuparts, debian/tests through autopkgtest)
# on a fresh clone of HEAD in a chroot of this machine's Debian, or of
# Debian 13; as root, with the base systems kept in ~/.cache/hopsala.
test-package:
	tools/debian-chroot --testbed "$$(. /etc/os-release && echo $$VERSION_ID)" 'tools/check-package /srv/testbed'

test-package-debian13:
	tools/debian-chroot --testbed 13 'tools/check-package /srv/testbed'

# Figures, never a verdict; see bench/README.md.
bench:
	@tools/ensure-packages $(BENCH_PACKAGES)
	python3 bench/run.py

# Fuzzes the Wahl.txt reader and writer for FUZZ_SECONDS seconds each (60 by default).
fuzz: deps-run
	@tools/ensure-packages clang libclang-rt-dev
	fuzz/run.sh

# For one person, no root needed: the program in PREFIX/lib/hopsala beside its
# Wahl.txt, a link in PREFIX/bin, a desktop entry, icons and AppStream metainfo.
install: build
	cmake --install $(BUILD_RUN) --prefix "$(PREFIX)"

# Removes the program and keeps the records (PREFIX/lib/hopsala/Wahl.txt).
uninstall: deps-run
	cmake --preset release > /dev/null
	cmake -DPREFIX="$(PREFIX)" -P $(BUILD_RUN)/uninstall.cmake

# Removes what the builds made; the Wahl.txt beside each program stays.
clean:
	-[ -d $(BUILD_RUN) ] && cmake --build $(BUILD_RUN) --target clean
	-[ -d $(BUILD_TEST) ] && cmake --build $(BUILD_TEST) --target clean
