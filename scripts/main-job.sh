#!/usr/bin/env bash
# The main job: builds the module and the reference host, then plots the
# bundled sample drawing (samples/cadplan.emf) on the first plotter of the
# bundled configuration into out/cadplan.plt.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

hpgl2_build "$HPGL2_ROOT/build" -DCMAKE_BUILD_TYPE=Release -DHPGL2_TESTS=OFF
host="$HPGL2_ROOT/build/bin/plothost"
export PXR_DATA_DIR="$HPGL2_ROOT/out/data"
mkdir -p "$PXR_DATA_DIR"
# The bundled configuration (config/) lies beside the built host.
"$host" drivers
"$host" plot "$HPGL2_ROOT/samples/cadplan.emf" \
  -o "$HPGL2_ROOT/out/cadplan.plt"
echo "Plot file: $HPGL2_ROOT/out/cadplan.plt"
