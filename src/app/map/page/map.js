// The fleet map. It draws what the program hands it (markers, a track, a point to centre
// on) and tells the program about the view and about tiles that cannot be loaded; every
// decision about what to show is made by the program.
'use strict';

(function () {
  const map = L.map('map', { preferCanvas: true, worldCopyJump: true }).setView([20, 0], 2);
  const renderer = L.canvas({ padding: 0.5 });
  L.control.scale({ imperial: false }).addTo(map);

  let bridge = null;
  let tiles = null;
  let tilesFailed = false;
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
    return L.divIcon({ className: 'kv-marker' + (data.sos ? ' sos' : ''), html: box,
                       iconSize: [16, 16], iconAnchor: [8 - shift.x, 8 - shift.y] });
  }

  function placeMarker(data) {
    const known = markers.get(data.imei);
    const position = [data.lat, data.lon];
    if (known) {
      known.marker.setLatLng(position);
      known.marker.setIcon(iconOf(data, known.shift));
      known.marker.setTooltipContent(tooltipOf(data.tooltip));
      known.data = data;
      ++known.updates;
      return;
    }
    const marker = L.marker(position, { icon: iconOf(data, NoShift), keyboard: false })
                       .bindTooltip(tooltipOf(data.tooltip), { direction: 'top', offset: [0, -8] })
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
    L.polyline(lines, { renderer: renderer, color: '#9a9a9a', weight: 1, opacity: 0.7,
                        interactive: false }).addTo(graticule);
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

  window.kv820Map = {
    setTiles: function (url, attribution) {
      if (tiles) {
        map.removeLayer(tiles);
      }
      tilesFailed = false;
      tiles = L.tileLayer(url, { attribution: attribution, maxZoom: 19, crossOrigin: false });
      tiles.on('tileerror', function () {
        if (!tilesFailed) {
          tilesFailed = true;
          showGraticule();
          if (bridge) {
            bridge.tilesUnavailable();
          }
        }
      });
      tiles.addTo(map);
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
                    colour: dot ? getComputedStyle(dot).backgroundColor : '' });
      });
      const centre = map.getCenter();
      const view = map.getBounds();
      return { bounds: [view.getSouth(), view.getWest(), view.getNorth(), view.getEast()], markers: list, trackPoints: track.points, trackVertices: track.vertices,
               fleetUpdates: fleetUpdates,
               tilesFailed: tilesFailed, graticule: map.hasLayer(graticule),
               centre: [centre.lat, centre.lng], zoom: map.getZoom(),
               size: [map.getSize().x, map.getSize().y] };
    },
  };

  if (typeof QWebChannel !== 'undefined' && window.qt && qt.webChannelTransport) {
    new QWebChannel(qt.webChannelTransport, function (channel) {
      bridge = channel.objects.bridge;
      if (tilesFailed) {
        bridge.tilesUnavailable();
      }
    });
  }
})();
