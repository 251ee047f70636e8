# The two commands of the quick start: `make run` builds and starts the installer, `make test` runs every
# test. Both install what they need first. `make screens` regenerates the gallery in docs/screens/.
.PHONY: setup build run test screens bench clean

setup:
	@bash scripts/setup.sh

build: setup
	@bash scripts/build.sh

run: build
	@bash scripts/run.sh

test: build
	@bash scripts/test.sh

screens: build
	@bash scripts/screens.sh

bench: build
	@bash bench/run.sh

clean:
	rm -rf build/host build/win32 build/win64 dist
