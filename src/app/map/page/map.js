// The fleet map. It draws what the program hands it (markers, a track, a point to centre
// on) and tells the program about the view and about tiles that cannot be loaded; every
// decision about what to show is made by the program.
'use strict';

(function () {
  const map = L.map('map', { preferCanvas: true, worldCopyJump: true }).setView([20, 0], 2);
  const renderer = L.canvas({ padding: 0.5 });
  // The graticule lies under the tiles: it shows only where no tile covers the ground
  // (beyond a tile file's area, or with no tiles at all).
  map.createPane('graticule');
  map.getPane('graticule').style.zIndex = 150;
  map.getPane('graticule').style.pointerEvents = 'none';
  const graticuleRenderer = L.canvas({ pane: 'graticule', padding: 0.5 });
  L.control.scale({ imperial: false }).addTo(map);

  let bridge = null;
  let tiles = null;
  let tilesFailed = false;
  let tileCounts = { loaded: 0, missing: 0 };  // of the present tile layer
  let localArea = null;  // the area of a program's file of tiles, when it says so
  let followImei = '';
  const markers = new Map();  // imei -> { marker, data, shift, updates }
  let fleetUpdates = 0;       // how often the whole fleet was handed over
  const trackLayer = L.layerGroup().addTo(map);
  let track = { points: 0, vertices: 0 };
  let legend = null;
  let centreMarker = null;
  const graticule = L.layerGroup();
  // The first view fits the fleet again when the map's size changes, until the operator
  // moves it: the page may load before its view has its final size.
  let fitUntilTouched = false;

  const FitMargin = 40;     // pixels kept clear around the fleet by a fit
  const NameOffset = 18;    // the name's left edge from the marker's centre (map.css)
  const StackGap = 20;      // markers closer than this on screen are drawn as a column
  const NoShift = L.point(0, 0);
  const overdue = new Map();  // imei -> the tooltip's line saying since when

  function tooltipOf(lines) {
    const box = document.createElement('div');
    lines.forEach(function (line, index) {
      const row = document.createElement(index === 0 ? 'b' : 'div');
      row.textContent = line;
      box.appendChild(row);
    });
    return box;
  }

  // `shift`: where the marker is drawn from its place, in pixels, in a column of close markers.
  function iconOf(data, shift) {
    const box = document.createElement('div');
    const dot = document.createElement('div');
    dot.className = 'kv-dot';
    dot.style.background = data.colour;
    const name = document.createElement('div');
    name.className = 'kv-name';
    name.textContent = data.name;
    box.appendChild(dot);
    box.appendChild(name);
    const kind = data.sos ? ' sos' : overdue.has(data.imei) ? ' overdue' : '';
    return L.divIcon({ className: 'kv-marker' + kind, html: box,
                       iconSize: [16, 16], iconAnchor: [8 - shift.x, 8 - shift.y] });
  }

  function markerTooltip(data) {
    const since = overdue.get(data.imei);
    return tooltipOf(since ? data.tooltip.concat([since]) : data.tooltip);
  }

  function placeMarker(data) {
    const known = markers.get(data.imei);
    const position = [data.lat, data.lon];
    if (known) {
      known.marker.setLatLng(position);
      known.marker.setIcon(iconOf(data, known.shift));
      known.marker.setTooltipContent(markerTooltip(data));
      known.data = data;
      ++known.updates;
      return;
    }
    const marker = L.marker(position, { icon: iconOf(data, NoShift), keyboard: false })
                       .bindTooltip(markerTooltip(data), { direction: 'top', offset: [0, -8] })
                       .addTo(map);
    markers.set(data.imei, { marker: marker, data: data, shift: NoShift, updates: 1 });
  }

  // What follows a marker's move: the column of close markers and the followed tracker.
  function afterMarkersMoved() {
    spreadCloseMarkers();
    keepFollowedInView();
  }

  // Trackers parked together would hide each other's dot and name: markers whose dots
  // overlap on screen are drawn as a column around their common place, in name order.
  function spreadCloseMarkers() {
    const groups = [];
    markers.forEach(function (known) {
      known.at = map.latLngToLayerPoint(known.marker.getLatLng());
      const group = groups.find(function (g) { return g.at.distanceTo(known.at) < StackGap; });
      if (group) {
        group.members.push(known);
      } else {
        groups.push({ at: known.at, members: [known] });
      }
    });
    groups.forEach(function (group) {
      const members = group.members;
      members.sort(function (a, b) { return a.data.name.localeCompare(b.data.name); });
      let centre = L.point(0, 0);
      members.forEach(function (known) { centre = centre.add(known.at); });
      centre = centre.divideBy(members.length);
      members.forEach(function (known, index) {
        const place = members.length === 1 ? known.at
            : centre.add(L.point(0, (index - (members.length - 1) / 2) * StackGap));
        const shift = place.subtract(known.at).round();
        if (!known.shift.equals(shift)) {
          known.shift = shift;
          known.marker.setIcon(iconOf(known.data, shift));
        }
      });
    });
  }

  // Room around the fitted places for what is drawn beside them: the names to the right,
  // and the column of markers parked together (at most the whole fleet) above and below.
  function fitPadding() {
    let widest = 0;
    markers.forEach(function (known) {
      const element = known.marker.getElement();
      const name = element ? element.querySelector('.kv-name') : null;
      widest = Math.max(widest, name ? name.offsetWidth : 0);
    });
    const column = Math.max(0, markers.size - 1) * StackGap / 2;
    return { paddingTopLeft: [FitMargin, FitMargin + column],
             paddingBottomRight: [FitMargin + NameOffset + widest, FitMargin + column] };
  }

  function hasRoom() {
    const size = map.getSize();
    return size.x > 2 * FitMargin && size.y > 2 * FitMargin;
  }

  function keepFollowedInView() {
    const followed = markers.get(followImei);
    if (followed && !map.getBounds().pad(-0.1).contains(followed.marker.getLatLng())) {
      map.panTo(followed.marker.getLatLng());
    }
  }

  // Lines of equal latitude and longitude, some five to ten across the view, drawn where
  // no tile shows the ground.
  function drawGraticule() {
    graticule.clearLayers();
    const bounds = map.getBounds();
    const span = Math.max(bounds.getNorth() - bounds.getSouth(), 1e-6);
    const steps = [30, 20, 10, 5, 2, 1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01, 0.005, 0.002, 0.001];
    const step = steps.find(function (s) { return span / s >= 4; }) || steps[steps.length - 1];
    const west = Math.max(bounds.getWest(), -540);
    const east = Math.min(bounds.getEast(), 540);
    const south = Math.max(bounds.getSouth(), -85);
    const north = Math.min(bounds.getNorth(), 85);
    const lines = [];
    for (let lat = Math.ceil(south / step) * step; lat <= north; lat += step) {
      lines.push([[lat, west], [lat, east]]);
    }
    for (let lon = Math.ceil(west / step) * step; lon <= east; lon += step) {
      lines.push([[south, lon], [north, lon]]);
    }
    L.polyline(lines, { renderer: graticuleRenderer, color: '#9a9a9a', weight: 1, opacity: 0.7,
                        interactive: false }).addTo(graticule);
  }

  // Replaces the tile layer (none: no tiles). A tile server's failure is said once; the
  // tiles a program's file lacks (missesAreQuiet) only bring the graticule.
  function setTileLayer(options) {
    if (tiles) {
      map.removeLayer(tiles);
      tiles = null;
    }
    tilesFailed = false;
    tileCounts = { loaded: 0, missing: 0 };
    localArea = null;
    map.setMinZoom(options && options.minZoom ? options.minZoom : 0);
    if (map.hasLayer(graticule)) {
      map.removeLayer(graticule);
    }
    if (!options) {
      return;
    }
    const layerOptions = { attribution: options.attribution, maxZoom: 19, crossOrigin: false };
    if (options.minZoom !== undefined) {
      layerOptions.minZoom = options.minZoom;
    }
    if (options.maxNativeZoom !== undefined) {
      layerOptions.maxNativeZoom = options.maxNativeZoom;
    }
    if (options.bounds) {
      // No tile is asked for outside the file's area.
      layerOptions.bounds = [[options.bounds[0], options.bounds[1]],
                             [options.bounds[2], options.bounds[3]]];
    }
    tiles = L.tileLayer(options.url, layerOptions);
    tiles.on('tileload', function () { ++tileCounts.loaded; });
    tiles.on('tileerror', function () {
      if (options.missesAreQuiet) {
        ++tileCounts.missing;
        showGraticule();
      } else if (!tilesFailed) {
        tilesFailed = true;
        showGraticule();
        if (bridge) {
          bridge.tilesUnavailable();
        }
      }
    });
    tiles.addTo(map);
    localArea = options.missesAreQuiet && options.bounds ? layerOptions.bounds : null;
    showGraticuleBeyondLocalArea();
  }

  // Beyond the area of a file the map shows its plain background, with the graticule.
  function showGraticuleBeyondLocalArea() {
    if (localArea && !L.latLngBounds(localArea).contains(map.getBounds())) {
      showGraticule();
    }
  }

  function showGraticule() {
    if (!map.hasLayer(graticule)) {
      graticule.addTo(map);
      drawGraticule();
    }
  }

  map.on('zoomend', spreadCloseMarkers);
  map.on('resize', function () {
    if (fitUntilTouched) {
      kv820Map.fitAll();
    }
  });
  ['mousedown', 'wheel', 'touchstart', 'keydown'].forEach(function (type) {
    map.getContainer().addEventListener(type, function () { fitUntilTouched = false; });
  });

  map.on('moveend', function () {
    showGraticuleBeyondLocalArea();
    if (map.hasLayer(graticule)) {
      drawGraticule();
    }
    const centre = map.getCenter();
    if (bridge) {
      bridge.viewChanged(centre.lat, centre.lng, map.getZoom());
    }
  });

  function showLegend(bands) {
    if (legend) {
      map.removeControl(legend);
      legend = null;
    }
    const used = bands.filter(function (band) { return band.parts.length > 0; });
    if (used.length === 0) {
      return;
    }
    legend = L.control({ position: 'bottomright' });
    legend.onAdd = function () {
      const box = L.DomUtil.create('div', 'kv-legend');
      used.forEach(function (band) {
        const row = document.createElement('div');
        const swatch = document.createElement('span');
        swatch.style.background = band.colour;
        row.appendChild(swatch);
        row.appendChild(document.createTextNode(band.label));
        box.appendChild(row);
      });
      return box;
    };
    legend.addTo(map);
  }

  function latLngsOf(flat) {
    const points = new Array(flat.length / 2);
    for (let i = 0; i < points.length; ++i) {
      points[i] = L.latLng(flat[2 * i], flat[2 * i + 1]);
    }
    return points;
  }

  function endMarker(position, colour, label) {
    return L.circleMarker(position, { renderer: renderer, radius: 7, color: '#fff', weight: 2,
                                      fillColor: colour, fillOpacity: 1 })
        .bindTooltip(label, { permanent: true, direction: 'bottom', offset: [0, 8] });
  }


  // Fences: the program hands over the stored ones; the operator draws a new one with
  // clicks (a circle: the centre, then the edge or a drag; a polygon: its corners, then a
  // double-click or Enter) and drags a selected one. What was drawn goes to the program,
  // which checks and stores it and hands the fences back.
  const fenceRenderer = L.svg({ padding: 0.5 });
  const fenceLayer = L.layerGroup().addTo(map);
  const fences = new Map();  // id -> { data, layer }
  let selectedFence = 0;
  let drawing = null;        // { kind, corners, centre, radius, presses, downAt, preview }
  let fenceDrag = null;      // { id, from, layer, moved }
  const FenceStyle = { color: '#7b3294', weight: 2, opacity: 0.9, fillOpacity: 0.12,
                       dashArray: null };
  const SelectedFenceStyle = { color: '#e66101', weight: 3, opacity: 1, fillOpacity: 0.2,
                               dashArray: '6 4' };
  const ClickSlop = 5;  // pixels: a press and a release closer than this are one click

  // Corners as drawn: each longitude on the side of the one before, so that a fence over
  // the 180th meridian is drawn the short way round.
  function cornersOf(flat) {
    const corners = [];
    let previous = null;
    for (let i = 0; i + 1 < flat.length; i += 2) {
      let lon = flat[i + 1];
      if (previous !== null) {
        lon += 360 * Math.round((previous - lon) / 360);
      }
      corners.push(L.latLng(flat[i], lon));
      previous = lon;
    }
    return corners;
  }

  function flatOf(latLngs) {
    const flat = [];
    latLngs.forEach(function (at) {
      const wrapped = at.wrap();
      flat.push(wrapped.lat, wrapped.lng);
    });
    return flat;
  }

  function selectFence(id) {
    selectedFence = fences.has(id) ? id : 0;
    fences.forEach(function (known, knownId) {
      known.layer.setStyle(knownId === selectedFence ? SelectedFenceStyle : FenceStyle);
    });
    if (bridge) {
      bridge.fenceSelected(selectedFence);
    }
  }

  function fenceLayerOf(data) {
    const options = Object.assign({ renderer: fenceRenderer }, FenceStyle);
    const layer = data.shape === 'circle'
        ? L.circle(data.centre, Object.assign({ radius: data.radius }, options))
        : L.polygon(cornersOf(data.corners), options);
    layer.bindTooltip(tooltipOf(data.tooltip), { sticky: true, className: 'kv-fence-tip' });
    layer.on('click', function (e) {
      if (!drawing) {
        L.DomEvent.stopPropagation(e);
        selectFence(data.id);
      }
    });
    layer.on('mousedown', function (e) {
      if (!drawing && data.id === selectedFence) {
        L.DomEvent.stopPropagation(e);
        map.dragging.disable();
        fenceDrag = { id: data.id, from: e.latlng, at: e.containerPoint, layer: layer,
                      centre: layer.getLatLng ? layer.getLatLng() : null,
                      corners: layer.getLatLngs ? layer.getLatLngs()[0].slice() : null };
      }
    });
    return layer;
  }

  function dragFenceTo(latlng) {
    const dLat = latlng.lat - fenceDrag.from.lat;
    const dLon = latlng.lng - fenceDrag.from.lng;
    if (fenceDrag.centre) {
      fenceDrag.layer.setLatLng([fenceDrag.centre.lat + dLat, fenceDrag.centre.lng + dLon]);
    } else {
      fenceDrag.layer.setLatLngs(fenceDrag.corners.map(function (at) {
        return L.latLng(at.lat + dLat, at.lng + dLon);
      }));
    }
  }

  // The fence stays where it is dropped until the program, having stored it, hands the
  // fences back; a press without a move leaves it where it was.
  function dropFence(e) {
    if (e.containerPoint.distanceTo(fenceDrag.at) < ClickSlop) {
      dragFenceTo(fenceDrag.from);
    } else if (bridge) {
      bridge.fenceDragged(fenceDrag.id, e.latlng.lat - fenceDrag.from.lat,
                          e.latlng.lng - fenceDrag.from.lng);
    }
    fenceDrag = null;
    map.dragging.enable();
  }

  // The keyboard's way to move the selected fence: the arrows nudge it by KeyNudge pixels
  // of the view (Shift: by one), stored at once as a drag would be. Without a selected fence
  // the arrows pan the map as ever.
  const KeyNudge = 10;
  const Nudges = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
  function nudgeSelectedFence(e) {
    const known = fences.get(selectedFence);
    const step = Nudges[e.key];
    if (!known || !step || drawing || fenceDrag || e.ctrlKey || e.altKey || e.metaKey) {
      return false;
    }
    const pixels = e.shiftKey ? 1 : KeyNudge;
    const from = known.layer.getBounds().getCenter();
    const to = map.containerPointToLatLng(
        map.latLngToContainerPoint(from).add([step[0] * pixels, step[1] * pixels]));
    fenceDrag = { id: selectedFence, from: from, layer: known.layer,
                  centre: known.layer.getLatLng ? known.layer.getLatLng() : null,
                  corners: known.layer.getLatLngs ? known.layer.getLatLngs()[0].slice() : null };
    dragFenceTo(to);
    fenceDrag = null;
    if (bridge) {
      bridge.fenceDragged(selectedFence, to.lat - from.lat, to.lng - from.lng);
    }
    return true;
  }

  // The next fence after the selected one, in the order the program listed them. The map
  // takes the keyboard: the arrows move the fence, and pan the map once Escape let it go.
  function selectNextFence() {
    map.getContainer().focus();
    const ids = Array.from(fences.keys());
    if (ids.length > 0) {
      const at = ids.indexOf(selectedFence);
      selectFence(ids[(at + 1) % ids.length]);
      const layer = fences.get(selectedFence).layer;
      if (!map.getBounds().contains(layer.getBounds())) {
        map.fitBounds(layer.getBounds(), { padding: [40, 40] });
      }
    }
  }

  function previewDrawing(pointer) {
    if (drawing.preview) {
      map.removeLayer(drawing.preview);
      drawing.preview = null;
    }
    const style = Object.assign({ renderer: fenceRenderer, interactive: false }, SelectedFenceStyle);
    if (drawing.kind === 'circle' && drawing.centre) {
      if (pointer) {
        drawing.radius = drawing.centre.distanceTo(pointer);
      }
      drawing.preview = L.circle(drawing.centre, Object.assign({ radius: drawing.radius }, style));
    } else if (drawing.kind === 'polygon' && drawing.corners.length > 0) {
      const line = pointer ? drawing.corners.concat([pointer]) : drawing.corners;
      drawing.preview = L.polyline(line, style);
    }
    if (drawing.preview) {
      drawing.preview.addTo(map);
    }
  }

  function stopDrawing() {
    if (drawing && drawing.preview) {
      map.removeLayer(drawing.preview);
    }
    drawing = null;
    map.dragging.enable();
    map.doubleClickZoom.enable();
    map.getContainer().classList.remove('kv-drawing');
  }

  map.on('mousedown', function (e) {
    if (drawing && drawing.kind === 'circle') {
      ++drawing.presses;
      if (!drawing.centre) {
        drawing.centre = e.latlng;
        drawing.radius = 0;
        drawing.downAt = e.containerPoint;
      }
    }
  });
  map.on('mousemove', function (e) {
    if (drawing) {
      previewDrawing(e.latlng);
    } else if (fenceDrag) {
      dragFenceTo(e.latlng);
    }
  });
  map.on('mouseup', function (e) {
    if (fenceDrag) {
      dropFence(e);
    } else if (drawing && drawing.kind === 'circle' && drawing.centre &&
               (drawing.presses > 1 || e.containerPoint.distanceTo(drawing.downAt) >= ClickSlop)) {
      previewDrawing(e.latlng);
      kv820Map.finishDrawing();
    }
  });
  map.on('click', function (e) {
    if (!drawing) {
      selectFence(0);
      return;
    }
    if (drawing.kind !== 'polygon') {
      return;
    }
    const last = drawing.corners[drawing.corners.length - 1];
    // The second click of a double-click lands on the corner the first one made.
    if (!last || map.latLngToContainerPoint(last).distanceTo(e.containerPoint) >= ClickSlop) {
      drawing.corners.push(e.latlng);
      previewDrawing(null);
    }
  });
  map.on('dblclick', function () {
    if (drawing && drawing.kind === 'polygon') {
      kv820Map.finishDrawing();
    }
  });
  // Taken before Leaflet's own keyboard handling, which would pan the map.
  document.addEventListener('keydown', function (e) {
    if (nudgeSelectedFence(e)) {
      e.preventDefault();
      e.stopPropagation();
    }
  }, true);
  document.addEventListener('keydown', function (e) {
    if (drawing && e.key === 'Enter') {
      kv820Map.finishDrawing();
    } else if (drawing && e.key === 'Escape') {
      kv820Map.cancelDrawing();
    } else if (e.key === 'Escape' && selectedFence) {
      selectFence(0);
    }
  });

  function attributionText() {
    const box = map.getContainer().querySelector('.leaflet-control-attribution');
    return box ? box.textContent : '';
  }

  window.kv820Map = {
    setTiles: function (url, attribution) {
      setTileLayer({ url: url, attribution: attribution });
    },
    // Tiles the program serves from a file or a folder. A tile it lacks is answered "not
    // found": that is the edge of the file's area, not a failing network, so the page
    // shows its graticule there and says nothing. The program itself says when the file
    // cannot be read at all. options: { url, attribution (HTML, made from plain text by the
    // program), minZoom, maxNativeZoom, bounds: [south, west, north, east] or null }.
    setLocalTiles: function (options) {
      setTileLayer(Object.assign({ missesAreQuiet: true }, options));
    },
    // No tiles at all: the plain background and the graticule.
    clearTiles: function () {
      setTileLayer(null);
      showGraticule();
    },
    // Shows the area [south, west, north, east] of a tile file.
    fitArea: function (area) {
      fitUntilTouched = false;
      map.fitBounds([[area[0], area[1]], [area[2], area[3]]], { animate: false });
    },
    selectNextFence: selectNextFence,
    setFences: function (list) {
      fenceLayer.clearLayers();
      fences.clear();
      fenceDrag = null;
      list.forEach(function (data) {
        fences.set(data.id, { data: data, layer: fenceLayerOf(data).addTo(fenceLayer) });
      });
      selectFence(selectedFence);
    },
    // kind: 'circle' or 'polygon'.
    startDrawing: function (kind) {
      stopDrawing();
      selectFence(0);
      drawing = { kind: kind, corners: [], centre: null, radius: 0, presses: 0, downAt: null,
                  preview: null };
      map.dragging.disable();
      map.doubleClickZoom.disable();
      map.getContainer().classList.add('kv-drawing');
      map.getContainer().focus();
    },
    // Hands a shape that is complete to the program; false (and nothing handed) otherwise.
    finishDrawing: function () {
      const done = drawing;
      stopDrawing();
      if (!done || !bridge) {
        return false;
      }
      if (done.kind === 'circle' && done.centre && done.radius > 0) {
        const centre = done.centre.wrap();
        bridge.circleDrawn(centre.lat, centre.lng, done.radius);
        return true;
      }
      if (done.kind === 'polygon' && done.corners.length >= 3) {
        bridge.polygonDrawn(flatOf(done.corners));
        return true;
      }
      return false;
    },
    cancelDrawing: function () {
      stopDrawing();
    },
    // [{imei, line}]: the trackers that stopped reporting, drawn grey.
    setOverdue: function (list) {
      overdue.clear();
      list.forEach(function (entry) { overdue.set(entry.imei, entry.line); });
      markers.forEach(function (known) {
        known.marker.setIcon(iconOf(known.data, known.shift));
        known.marker.setTooltipContent(markerTooltip(known.data));
      });
    },
    // Where a place is drawn, in the page's pixels: for tests that click on the map.
    clientPointOf: function (lat, lon) {
      const point = map.latLngToContainerPoint([lat, lon]);
      const origin = map.getContainer().getBoundingClientRect();
      return [origin.left + point.x, origin.top + point.y];
    },
    setView: function (lat, lon, zoom) {
      fitUntilTouched = false;
      map.setView([lat, lon], zoom);
    },
    setFleet: function (fleet) {
      const seen = new Set();
      fleet.markers.forEach(function (data) {
        placeMarker(data);
        seen.add(data.imei);
      });
      markers.forEach(function (known, imei) {
        if (!seen.has(imei)) {
          map.removeLayer(known.marker);
          markers.delete(imei);
        }
      });
      ++fleetUpdates;
      afterMarkersMoved();
    },
    // One tracker's marker, after a report of it: every other marker stays as it is.
    setMarker: function (data) {
      placeMarker(data);
      afterMarkersMoved();
    },
    showTrack: function (data) {
      trackLayer.clearLayers();
      let vertices = 0;
      data.bands.forEach(function (band) {
        if (band.parts.length === 0) {
          return;
        }
        const parts = band.parts.map(latLngsOf);
        parts.forEach(function (part) { vertices += part.length; });
        // Leaflet simplifies the line for the zoom shown (smoothFactor), so a long
        // track stays quick to pan and zoom.
        L.polyline(parts, { renderer: renderer, color: band.colour, weight: 4, opacity: 0.9,
                            smoothFactor: 1.5, interactive: false }).addTo(trackLayer);
      });
      if (data.points > 0) {
        fitUntilTouched = false;
        const start = L.latLng(data.start);
        let bounds = L.latLngBounds(start, start).extend(L.latLng(data.end));
        trackLayer.eachLayer(function (layer) { bounds = bounds.extend(layer.getBounds()); });
        map.fitBounds(bounds, { padding: [30, 30], maxZoom: 17 });
        // Added after the view moved, so that their labels sit at their points.
        endMarker(data.start, '#1a9641', 'Start').addTo(trackLayer);
        endMarker(data.end, '#a50026', 'End').addTo(trackLayer);
      }
      track = { points: data.points, vertices: vertices };
      showLegend(data.bands);
    },
    centreOn: function (data) {
      if (centreMarker) {
        map.removeLayer(centreMarker);
      }
      centreMarker = L.circleMarker([data.lat, data.lon], { renderer: renderer, radius: 9,
                                                            color: '#000', weight: 3,
                                                            fill: false })
                         .bindTooltip(tooltipOf(data.tooltip), { permanent: true,
                                                                 direction: 'top' })
                         .addTo(map);
      fitUntilTouched = false;
      map.setView([data.lat, data.lon], Math.max(map.getZoom(), 15));
    },
    fitAll: function () {
      let bounds = null;
      const add = function (other) { bounds = bounds ? bounds.extend(other) : L.latLngBounds(other, other); };
      markers.forEach(function (known) { add(known.marker.getLatLng()); });
      trackLayer.eachLayer(function (layer) {
        if (layer.getBounds) {
          const b = layer.getBounds();
          add(b.getSouthWest());
          add(b.getNorthEast());
        }
      });
      if (bounds && hasRoom()) {
        // A lone tracker (or a fleet in one street) is shown at street level.
        map.fitBounds(bounds, Object.assign({ maxZoom: 16, animate: false }, fitPadding()));
      }
      return bounds !== null;
    },
    // The view of a first start: the whole fleet, now or as soon as the map has a size.
    fitFirstView: function () {
      fitUntilTouched = true;
      kv820Map.fitAll();
    },
    follow: function (imei) {
      followImei = imei;
      const followed = markers.get(imei);
      if (followed) {
        fitUntilTouched = false;
        map.panTo(followed.marker.getLatLng());
      }
    },
    // What is drawn, for the program's tests.
    state: function () {
      const list = [];
      markers.forEach(function (known, imei) {
        const at = known.marker.getLatLng();
        const element = known.marker.getElement();
        const dot = element ? element.querySelector('.kv-dot') : null;
        const name = element ? element.querySelector('.kv-name') : null;
        const box = name ? name.getBoundingClientRect() : null;
        const origin = map.getContainer().getBoundingClientRect();
        list.push({ imei: imei, lat: at.lat, lon: at.lng, updates: known.updates,
                    name: box ? [box.left - origin.left, box.top - origin.top,
                                 box.right - origin.left, box.bottom - origin.top] : [],
                    sos: element ? element.classList.contains('sos') : false,
                    overdue: element ? element.classList.contains('overdue') : false,
                    tooltip: known.marker.getTooltip().getContent().textContent,
                    colour: dot ? getComputedStyle(dot).backgroundColor : '' });
      });
      const fenceList = [];
      fences.forEach(function (known, id) {
        const content = known.layer.getTooltip().getContent();
        fenceList.push({ id: id, shape: known.data.shape, tooltip: content.textContent,
                         images: content.querySelectorAll('img').length });
      });
      const centre = map.getCenter();
      const view = map.getBounds();
      return { bounds: [view.getSouth(), view.getWest(), view.getNorth(), view.getEast()], markers: list, trackPoints: track.points, trackVertices: track.vertices,
               fleetUpdates: fleetUpdates, fences: fenceList, selectedFence: selectedFence,
               drawing: drawing ? drawing.kind : '',
               pageImages: document.querySelectorAll('img:not(.leaflet-tile)').length,
               tilesFailed: tilesFailed, graticule: map.hasLayer(graticule),
               tilesLoaded: tileCounts.loaded, tilesMissing: tileCounts.missing,
               tileUrl: tiles ? tiles._url : '', minZoom: map.getMinZoom(),
               attribution: attributionText(),
               centre: [centre.lat, centre.lng], zoom: map.getZoom(),
               size: [map.getSize().x, map.getSize().y] };
    },
  };

  // A trip chosen in the trips table, drawn over the searched track, and the point of the
  // speed chart under the mouse.
  const tripLayer = L.layerGroup().addTo(map);
  let trip = { points: 0, bounds: null };
  let pointMarker = null;
  let pointMarks = 0;

  Object.assign(window.kv820Map, {
    // {path:[lat,lon,...], start, end, label}, or null to take the trip away.
    showTrip: function (data) {
      tripLayer.clearLayers();
      trip = { points: 0, bounds: null };
      if (!data || data.path.length < 2) {
        return;
      }
      const path = latLngsOf(data.path);
      const line = { renderer: renderer, interactive: false, smoothFactor: 1 };
      // A white casing keeps the trip apart from the track's colours beneath it.
      L.polyline(path, Object.assign({ color: '#fff', weight: 9, opacity: 0.9 }, line)).addTo(tripLayer);
      L.polyline(path, Object.assign({ color: '#3a0ca3', weight: 5, opacity: 1 }, line)).addTo(tripLayer);
      const bounds = L.latLngBounds(path).extend(L.latLng(data.start)).extend(L.latLng(data.end));
      fitUntilTouched = false;
      map.fitBounds(bounds, { padding: [40, 40], maxZoom: 17, animate: false });
      endMarker(data.start, '#1a9641', 'Trip start').addTo(tripLayer);
      endMarker(data.end, '#a50026', 'Trip end').addTo(tripLayer);
      tripLayer.eachLayer(function (layer) {
        if (layer.bindTooltip && !layer.getTooltip()) {
          layer.bindTooltip(data.label, { sticky: true });
        }
      });
      trip = { points: path.length, bounds: bounds };
    },
    // {lat, lon, label}: the point the speed chart's pointer is on, kept in view; null
    // takes it away.
    markPoint: function (data) {
      if (pointMarker) {
        map.removeLayer(pointMarker);
        pointMarker = null;
      }
      ++pointMarks;
      if (!data) {
        return;
      }
      const at = L.latLng(data.lat, data.lon);
      pointMarker = L.circleMarker(at, { renderer: renderer, radius: 8, color: '#000', weight: 2,
                                         fillColor: '#ffd400', fillOpacity: 1, interactive: false })
                        .bindTooltip(data.label, { permanent: true, direction: 'top', offset: [0, -8] })
                        .addTo(map);
      if (!map.getBounds().contains(at)) {
        map.panTo(at, { animate: false });
      }
    },
    // The page's layout changed around the map (the chart panel came or went).
    refreshSize: function () {
      map.invalidateSize({ animate: false });
    },
    // The chosen trip and the chart's point, for the program's tests.
    tripState: function () {
      const view = map.getBounds();
      const point = pointMarker ? pointMarker.getLatLng() : null;
      return { tripPoints: trip.points,
               tripInView: trip.bounds ? view.contains(trip.bounds) : false,
               tripBounds: trip.bounds ? [trip.bounds.getSouth(), trip.bounds.getWest(),
                                          trip.bounds.getNorth(), trip.bounds.getEast()] : [],
               point: point ? [point.lat, point.lng] : [], pointInView: point ? view.contains(point) : false,
               pointMarks: pointMarks, zoom: map.getZoom(),
               bounds: [view.getSouth(), view.getWest(), view.getNorth(), view.getEast()] };
    },
  });

  if (typeof QWebChannel !== 'undefined' && window.qt && qt.webChannelTransport) {
    new QWebChannel(qt.webChannelTransport, function (channel) {
      bridge = channel.objects.bridge;
      if (tilesFailed) {
        bridge.tilesUnavailable();
      }
    });
  }
})();
