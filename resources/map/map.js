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
  const markers = new Map();  // imei -> { marker, data }
  const trackLayer = L.layerGroup().addTo(map);
  let track = { points: 0, vertices: 0 };
  let legend = null;
  let centreMarker = null;
  const graticule = L.layerGroup();

  function tooltipOf(lines) {
    const box = document.createElement('div');
    lines.forEach(function (line, index) {
      const row = document.createElement(index === 0 ? 'b' : 'div');
      row.textContent = line;
      box.appendChild(row);
    });
    return box;
  }

  function iconOf(data) {
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
                       iconSize: [16, 16], iconAnchor: [8, 8] });
  }

  function placeMarker(data) {
    const known = markers.get(data.imei);
    const position = [data.lat, data.lon];
    if (known) {
      known.marker.setLatLng(position);
      known.marker.setIcon(iconOf(data));
      known.marker.setTooltipContent(tooltipOf(data.tooltip));
      known.data = data;
      return;
    }
    const marker = L.marker(position, { icon: iconOf(data), keyboard: false })
                       .bindTooltip(tooltipOf(data.tooltip), { direction: 'top', offset: [0, -8] })
                       .addTo(map);
    markers.set(data.imei, { marker: marker, data: data });
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
    setView: function (lat, lon, zoom) { map.setView([lat, lon], zoom); },
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
      keepFollowedInView();
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
      if (bounds) {
        map.fitBounds(bounds, { padding: [40, 40], maxZoom: 16 });
      }
      return bounds !== null;
    },
    follow: function (imei) {
      followImei = imei;
      const followed = markers.get(imei);
      if (followed) {
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
        list.push({ imei: imei, lat: at.lat, lon: at.lng,
                    sos: element ? element.classList.contains('sos') : false,
                    colour: dot ? getComputedStyle(dot).backgroundColor : '' });
      });
      const centre = map.getCenter();
      const view = map.getBounds();
      return { bounds: [view.getSouth(), view.getWest(), view.getNorth(), view.getEast()], markers: list, trackPoints: track.points, trackVertices: track.vertices,
               tilesFailed: tilesFailed, graticule: map.hasLayer(graticule),
               centre: [centre.lat, centre.lng], zoom: map.getZoom() };
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
