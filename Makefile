# make run    set up what is missing, build, and run the setup wizard under Wine
# make test   set up what is missing, build, and run every test
# make build  set up and build both builds, without running anything
# make bench  build, then print the size, speed and memory figures README shows
# make fuzz   fuzz the uninstaller's record and the remover's arguments longer (FUZZ_SECONDS, default 600)
# WINE_ARCH=64 forces the 64-bit way (a 64-bit twin under 64-bit Wine) on any host; see README
.PHONY: all setup build run test bench fuzz clean
all: build

setup:
	@scripts/setup.sh build

build: setup
	@scripts/build.sh

run: build
	@scripts/run.sh

test: build
	@scripts/test.sh

bench: build
	@scripts/bench.sh

fuzz: build
	@scripts/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf build/native build/windows build/windows64 build/screenshots
